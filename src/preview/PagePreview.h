#pragma once

#include "layout/GridFit.h"
#include "settings/JobSettings.h"

#include <QImage>
#include <QRect>
#include <QSize>
#include <QString>

class QPainter;

namespace zorvane {

class DrawingSurface;
class PictureHolder;
class SettingsStore;

// What a render of the preview reports back to the window.
struct PreviewOutcome
{
    bool doesNotFit = false;
    int printableCount = 0; // the paper's capacity; 0 when the count does not fit
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
// The warning shown instead of the page when the count does not fit.
QImage warningPicture();

// What the box shows, said in words for a screen reader: that no picture is
// loaded, how many tickets fit, or that the count does not fit.
QString previewStateText(const PictureHolder* picture, const MainValues& main,
                         const SettingsStore& store);

// Runs the grid fit and, when the count fits, draws the whole page at the
// box's resolution with the same sheet drawing as print, then shrinks it,
// filtered, into the page rectangle of the box.
PreviewOutcome RenderPreview(DrawingSurface& box, QSize boxSize, const PictureHolder* picture,
                             const MainValues& main, const SettingsStore& store);

// Paints the whole preview box (black, the shrunken page or the warning, and
// the text in the preview font) into a painter on a device of the box's
// size. The standard font is the painter's font as it comes.
PreviewOutcome paintPreviewBox(QPainter& painter, QSize boxSize, const PictureHolder* picture,
                               const MainValues& main, const SettingsStore& store);

} // namespace zorvane
