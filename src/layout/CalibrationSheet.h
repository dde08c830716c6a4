#pragma once

#include "settings/Catalogue.h"

#include <QPoint>
#include <QPointF>
#include <QString>

class QPainter;

namespace zorvane {

// Where the two crosshairs of the calibration sheet belong on the paper,
// in tenths of a millimetre from its left and top edges: near the top-left
// corner and near the bottom-right corner, each 20 mm in from both edges.
struct CalibrationMarks
{
    static constexpr int inset = 200;

    QPoint nearMark;
    QPoint farMark;
    int paperWidth = 0;  // tenths of a millimetre
    int paperHeight = 0; // tenths of a millimetre
};

CalibrationMarks calibrationMarks(PaperKind paper);

// Draws the calibration sheet of the paper: the two crosshairs, millimetre
// rulers from each toward its nearest edges, and what to measure. The
// painter's origin lies printableOrigin device pixels from the paper's
// corner (a printer's printable area; none for a file), so every mark is
// placed from the paper's corner whatever margin the device keeps.
// printerName: shown on the sheet, so a measured sheet can be told apart;
// empty for a file.
void drawCalibrationSheet(QPainter& painter, PaperKind paper, int dpiX, int dpiY,
                          QPointF printableOrigin, const QString& printerName);

} // namespace zorvane
