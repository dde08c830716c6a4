#pragma once

#include "layout/GridFit.h"
#include "settings/JobSettings.h"
#include "settings/SheetJob.h"
#include "settings/SheetValues.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

class QPainter;

namespace zorvane {

class DrawingSurface;
class PictureHolder;

// What a render of the preview reports back to the window.
struct PreviewOutcome
{
    bool doesNotFit = false;
    // The paper's capacity less the used cells in the grid; 0 when the count
    // does not fit.
    int printableCount = 0;
};

// Fixed places in the preview box, from its top-left corner, for a box of
// the reference size. A box of another size (the dialog font decides its
// pixel size) gets them moved in proportion, so the text stays below the
// page and the warning stays where the page would be.
inline constexpr QSize referenceBoxSize{123, 196};
inline constexpr QPoint warningPicturePlace{50, 75};
inline constexpr QPoint printableCountPlace{17, 182};
inline constexpr QPoint noPictureNoticePlace{12, 90};
QPoint placeInBox(QPoint referencePlace, QSize boxSize);

// The page outline in a preview box of the given size, centred.
QRect pageRectangle(PaperKind paper, QSize boxSize);

QString printableCountText(int printableCount);
QString noPictureNotice();
// The run a print makes, beneath the count: "1〜90 (3枚)", or "(3枚)" for
// sheets without numbers.
QString runText(const SheetJob& job);
// The warning shown instead of the page when the count does not fit.
QImage warningPicture();

// What the box shows, said in words for a screen reader: that no picture is
// loaded, how many tickets fit, or that the count does not fit.
QString previewStateText(const PictureHolder* picture, const SheetJob& job);

// Runs the grid fit and, when the count fits, draws the whole page at the
// box's resolution with the same sheet drawing as print, then shrinks it,
// filtered, into the page rectangle of the box. Frames and cut marks are
// drawn again over it so they stay visible. Used cells inside the grid
// are then hatched in grey over the shrunken page; they are never printed.
PreviewOutcome RenderPreview(DrawingSurface& box, QSize boxSize, const PictureHolder* picture,
                             const SheetJob& job);

// Paints the whole preview box (black, the shrunken page or the warning, and
// the text in the preview font) into a painter on a device of the box's
// size. The standard font is the painter's font as it comes.
PreviewOutcome paintPreviewBox(QPainter& painter, QSize boxSize, const PictureHolder* picture,
                               const SheetJob& job);

// The grey of the hatching on used cells.
inline constexpr QRgb usedCellHatchColour = 0xff808080;

// The cell of the shown page under a point of the preview box; none when
// the box shows no page (no picture, or the count does not fit) or the
// point is outside the grid.
std::optional<GridCell> previewCellAt(QPoint boxPoint, QSize boxSize, const PictureHolder* picture,
                                      const SheetJob& job);

} // namespace zorvane
