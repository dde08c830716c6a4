#pragma once

#include "preview/PagePreview.h"
#include "settings/JobSettings.h"

#include <QFrame>

namespace zorvane {

class PictureHolder;
class SettingsStore;

// The preview box of the main window: paints the shrunken page for the
// values it was last given, the Option values read from the store at every
// paint. It never opens a message box; the window validates its fields
// before it hands the values over.
class PreviewWidget : public QFrame
{
    Q_OBJECT

public:
    explicit PreviewWidget(const SettingsStore& store, QWidget* parent = nullptr);

    // The window keeps ownership; the picture must outlive its use here.
    void setPicture(const PictureHolder* picture);
    void setMainValues(const MainValues& values);
    // Placement, turn and used cells of the sheet shown.
    void setSheetOptions(const SheetOptions& sheet);

    const PictureHolder* picture() const { return picture_; }
    const MainValues& mainValues() const { return main_; }
    const SheetOptions& sheetOptions() const { return sheet_; }
    // What the last paint found: whether the count fits and the capacity.
    const PreviewOutcome& lastOutcome() const { return lastOutcome_; }

    // The text of the tooltip over a ticket cell of the shown page.
    static QString cellToolTip();

Q_SIGNALS:
    // A left click on a ticket cell of the shown page.
    void cellClicked(zorvane::GridCell cell);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;

private:
    // Screen readers get in words what the box shows in pixels.
    void describeState();

    const SettingsStore& store_;
    const PictureHolder* picture_ = nullptr;
    std::optional<GridCell> cellAt(QPoint widgetPoint) const;

    MainValues main_;
    SheetOptions sheet_;
    PreviewOutcome lastOutcome_;
};

} // namespace zorvane
