#include "LabelDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace zorvane {
namespace {

// A database of some thousand products fits in a few megabytes; a larger
// file is not one of ours and is not read into memory.
constexpr qint64 largestFile = 64 * 1024 * 1024;

QString productKey(const QString& brand, const QString& part)
{
    return brand.toCaseFolded() + u'\n' + part.toCaseFolded();
}

} // namespace

QString LabelDatabase::userFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation) + u"/labels"_s;
}

QStringList LabelDatabase::standardFolders()
{
    QStringList folders{userFolder()};
    for (const QString& dataDir :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        folders.append(dataDir + u'/' + QString::fromUtf16(installedSubfolder));
    return folders;
}

bool LabelDatabase::anyFileIn(const QStringList& folders)
{
    return std::ranges::any_of(folders, [](const QString& folder) {
        return !QDir(folder).entryList({u"*.xml"_s}, QDir::Files).isEmpty();
    });
}

LabelDatabase LabelDatabase::load(const QStringList& folders)
{
    LabelDatabase database;
    QHash<QString, LabelPaperSize> paperSizes;
    QSet<QString> seenFolders;
    QSet<QString> seenProducts;

    for (const QString& folder : folders) {
        const QString canonical = QFileInfo(folder).canonicalFilePath();
        if (canonical.isEmpty() || seenFolders.contains(canonical))
            continue;
        seenFolders.insert(canonical);

        const QDir dir(canonical);
        const QStringList names =
            dir.entryList({u"*.xml"_s}, QDir::Files | QDir::Readable, QDir::Name);
        for (const QString& name : names) {
            const QString path = dir.filePath(name);
            QFile file(path);
            if (file.size() > largestFile || !file.open(QIODevice::ReadOnly)) {
                database.problems_.append(u"%1: cannot be read"_s.arg(path));
                continue;
            }
            const LabelTemplateFile parsed = parseLabelTemplateFile(file.readAll());
            ++database.filesRead_;
            if (!parsed.usable()) {
                database.problems_.append(u"%1: %2; skipped"_s.arg(path, parsed.error));
                continue;
            }
            if (parsed.templatesLeftOut > 0) {
                database.problems_.append(u"%1: %2 product(s) left out, the first: %3"_s.arg(
                    path, QString::number(parsed.templatesLeftOut), parsed.firstFault));
            }
            for (auto it = parsed.paperSizes.cbegin(); it != parsed.paperSizes.cend(); ++it) {
                if (!paperSizes.contains(it.key()))
                    paperSizes.insert(it.key(), it.value());
            }
            for (const LabelTemplate& product : parsed.templates) {
                const QString key = productKey(product.brand, product.part);
                if (seenProducts.contains(key))
                    continue;
                seenProducts.insert(key);
                database.products_.append(product);
            }
        }
    }
    database.resolveEquivalents();
    database.resolvePaperSizes(paperSizes);
    return database;
}

// An equivalent takes the geometry of the product it names within its brand,
// following a chain of equivalents; a chain that ends nowhere or runs in a
// circle leaves the product without geometry, so it cannot be printed.
void LabelDatabase::resolveEquivalents()
{
    QHash<QString, qsizetype> indexOf;
    for (qsizetype i = 0; i < products_.size(); ++i)
        indexOf.insert(productKey(products_[i].brand, products_[i].part), i);

    const QList<LabelTemplate> written = products_;
    for (LabelTemplate& product : products_) {
        if (product.equiv.isEmpty())
            continue;
        const LabelTemplate* source = &product;
        for (qsizetype steps = 0; source && !source->equiv.isEmpty(); ++steps) {
            const auto found = indexOf.constFind(productKey(product.brand, source->equiv));
            source =
                (found == indexOf.cend() || steps > written.size()) ? nullptr : &written[*found];
        }
        if (!source)
            continue;
        product.paperId = source->paperId;
        product.paperWidth = source->paperWidth;
        product.paperHeight = source->paperHeight;
        product.shape = source->shape;
        product.shapeElement = source->shapeElement;
        product.labelCount = source->labelCount;
        product.labelWidth = source->labelWidth;
        product.labelHeight = source->labelHeight;
        product.layouts = source->layouts;
        if (product.description.isEmpty())
            product.description = source->description;
    }
}

void LabelDatabase::resolvePaperSizes(const QHash<QString, LabelPaperSize>& paperSizes)
{
    // ISO A4, for a user's own file on a system without the installed list
    // of paper sizes.
    static constexpr LabelPaperSize isoA4{2100, 2970};
    for (LabelTemplate& product : products_) {
        if (product.paperWidth || product.paperId.isEmpty())
            continue;
        const auto found = paperSizes.constFind(product.paperId);
        if (found != paperSizes.cend()) {
            product.paperWidth = found->width;
            product.paperHeight = found->height;
        } else if (product.paperId == u"A4") {
            product.paperWidth = isoA4.width;
            product.paperHeight = isoA4.height;
        }
    }
}

const LabelTemplate* LabelDatabase::find(const QString& name) const
{
    const QString wanted = name.simplified();
    for (const LabelTemplate& product : products_) {
        if (product.name().compare(wanted, Qt::CaseInsensitive) == 0)
            return &product;
    }
    return nullptr;
}

} // namespace zorvane
