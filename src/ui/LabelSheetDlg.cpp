#include "LabelSheetDlg.h"

#include "AppIcon.h"
#include "DialogTemplates.h"
#include "settings/Units.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>

#include <array>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

using enum ControlKind;
constexpr ControlStyles group{ControlStyle::GroupStart};
constexpr ControlStyles groupTab = ControlStyle::GroupStart | ControlStyle::TabStop;
constexpr ControlStyles tab{ControlStyle::TabStop};

constexpr std::array chooserControls{
    ControlTemplate{noControlId, Label, u"検索 ：", 7, 9, 24, 8, group},
    ControlTemplate{LabelSheetDlg::searchId, Edit, u"", 32, 7, 261, 14, tab},
    ControlTemplate{LabelSheetDlg::listId, EtchedFrame, u"", 7, 26, 286, 150, tab},
    ControlTemplate{LabelSheetDlg::noteId, Label, u"", 7, 180, 286, 40, group},
    ControlTemplate{ids::ok, DefaultPushButton, u"OK", 181, 224, 50, 14, groupTab},
    ControlTemplate{ids::cancel, PushButton, u"ｷｬﾝｾﾙ", 243, 224, 50, 14, tab},
};

constexpr DialogTemplate chooserTemplate{u"ラベル用紙を選ぶ", 300, 245, chooserControls, {}};

constexpr std::array chooserNames{
    ControlName{LabelSheetDlg::searchId, u"検索"},
    ControlName{LabelSheetDlg::listId, u"ラベル用紙の一覧"},
};

enum Column
{
    BrandColumn,
    PartColumn,
    PaperColumn,
    SizeColumn,
    GridColumn,
    FitColumn,
    ColumnCount
};

QWidget* createControl(const ControlTemplate& row, QWidget* parent)
{
    if (row.id == LabelSheetDlg::listId) {
        auto* list = new QTreeWidget(parent);
        list->setColumnCount(ColumnCount);
        list->setHeaderLabels(
            {u"メーカー"_s, u"品番"_s, u"用紙"_s, u"ラベルサイズ"_s, u"横 X 縦"_s, u"印刷数"_s});
        list->setRootIsDecorated(false);
        list->setUniformRowHeights(true);
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        list->setAllColumnsShowFocus(true);
        return list;
    }
    if (row.id == LabelSheetDlg::noteId) {
        auto* note = new QLabel(parent);
        note->setWordWrap(true);
        note->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return note;
    }
    return nullptr;
}

} // namespace

LabelSheetDlg::LabelSheetDlg(QList<PrintableLabelSheet> sheets, const QString& standingNote,
                             QWidget* parent)
    : QDialog(parent), sheets_(std::move(sheets)), standingNote_(standingNote)
{
    built_ = DialogBuilder::build(*this, chooserTemplate, createControl);
    built_.nameControls(chooserNames);
    setWindowIcon(appIcon());
    search_ = built_.control<QLineEdit>(searchId);
    list_ = built_.control<QTreeWidget>(listId);
    note_ = built_.control<QLabel>(noteId);

    connect(built_.control<QPushButton>(ids::ok), &QPushButton::clicked, this,
            &LabelSheetDlg::accept);
    connect(built_.control<QPushButton>(ids::cancel), &QPushButton::clicked, this,
            &QDialog::reject);
    connect(search_, &QLineEdit::textChanged, this, &LabelSheetDlg::applySearch);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &LabelSheetDlg::showSelection);
    connect(list_, &QTreeWidget::itemActivated, this, &LabelSheetDlg::accept);

    fillList();
    showSelection();
    search_->setFocus(Qt::OtherFocusReason);
}

bool LabelSheetDlg::matches(const LabelTemplate& product, const QString& search)
{
    const QString haystack = product.brand + u' ' + product.part + u' ' + product.description;
    const QStringList words = search.split(u' ', Qt::SkipEmptyParts);
    return std::ranges::all_of(
        words, [&](const QString& word) { return haystack.contains(word, Qt::CaseInsensitive); });
}

QString LabelSheetDlg::fitText(const PrintableLabelSheet& sheet)
{
    return u"%1 枚中 %2 枚"_s.arg(sheet.sheet.labelCount()).arg(sheet.fit);
}

void LabelSheetDlg::fillList()
{
    QList<QTreeWidgetItem*> items;
    items.reserve(sheets_.size());
    for (qsizetype i = 0; i < sheets_.size(); ++i) {
        const PrintableLabelSheet& entry = sheets_[i];
        const LabelSheet& sheet = entry.sheet;
        auto* item = new QTreeWidgetItem(
            QStringList{entry.product.brand, entry.product.part, paperDisplayName(sheet.paper),
                        u"%1 X %2 mm"_s.arg(millimetresText(sheet.labelWidth),
                                            millimetresText(sheet.labelHeight)),
                        u"%1 X %2"_s.arg(sheet.columns).arg(sheet.rows), fitText(entry)});
        item->setData(BrandColumn, Qt::UserRole, i);
        item->setToolTip(PartColumn, entry.product.description);
        items.append(item);
    }
    list_->addTopLevelItems(items);
    for (int column = 0; column < ColumnCount; ++column)
        list_->resizeColumnToContents(column);
}

void LabelSheetDlg::applySearch(const QString& search)
{
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        QTreeWidgetItem* item = list_->topLevelItem(row);
        const auto index = item->data(BrandColumn, Qt::UserRole).toLongLong();
        item->setHidden(!matches(sheets_[index].product, search));
    }
    // A hidden row cannot stay chosen.
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (!selected.isEmpty() && selected.constFirst()->isHidden())
        list_->clearSelection();
}

int LabelSheetDlg::selectedIndex() const
{
    const QList<QTreeWidgetItem*> selected = list_->selectedItems();
    if (selected.isEmpty() || selected.constFirst()->isHidden())
        return -1;
    return selected.constFirst()->data(BrandColumn, Qt::UserRole).toInt();
}

void LabelSheetDlg::showSelection()
{
    const int index = selectedIndex();
    built_.control<QPushButton>(ids::ok)->setEnabled(index >= 0);

    QStringList lines;
    if (sheets_.isEmpty()) {
        lines.append(u"印刷できるラベル用紙がありません。"_s);
    } else if (index < 0) {
        lines.append(u"ラベル用紙を選んで下さい。"_s);
    } else {
        const PrintableLabelSheet& entry = sheets_[index];
        lines.append(entry.product.description.isEmpty()
                         ? entry.product.name()
                         : u"%1 ： %2"_s.arg(entry.product.name(), entry.product.description));
        const int unprinted = entry.sheet.labelCount() - entry.fit;
        if (unprinted > 0)
            lines.append(u"用紙の余白に掛かる %1 枚は印刷されません。"_s.arg(unprinted));
    }
    if (!standingNote_.isEmpty())
        lines.append(standingNote_);
    note_->setText(lines.join(u'\n'));
}

void LabelSheetDlg::accept()
{
    const int index = selectedIndex();
    if (index < 0)
        return;
    chosen_ = sheets_[index];
    QDialog::accept();
}

} // namespace zorvane
