#pragma once

#include "preview/PagePreview.h"
#include "settings/JobSettings.h"
#include "settings/SheetJob.h"

#include <QFrame>

#include <functional>

namespace zorvane {

class PictureHolder;

// The preview box of the main window: paints the shrunken page for the
// values it was last given, as a job that the window reads afresh at every
// paint (another copy of the program may have changed the store). It never
// opens a message box; the window validates its fields before it hands the
// values over.
class PreviewWidget : public QFrame
{
    Q_OBJECT

public:
    // The job of the given main values, read now.
    using JobSource = std::function<SheetJob(const MainValues&)>;
    explicit PreviewWidget(JobSource jobSource, QWidget* parent = nullptr);

    // The window keeps ownership; the picture must outlive its use here.
    void setPicture(const PictureHolder* picture);
    void setMainValues(const MainValues& values);

    const PictureHolder* picture() const { return picture_; }
    const MainValues& mainValues() const { return main_; }
    // The job of the values shown, read now.
    SheetJob currentJob() const { return jobSource_(main_); }
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
    void describeState(const SheetJob& job);

    JobSource jobSource_;
    const PictureHolder* picture_ = nullptr;
    std::optional<GridCell> cellAt(QPoint widgetPoint) const;

    MainValues main_;
    PreviewOutcome lastOutcome_;
};

} // namespace zorvane
