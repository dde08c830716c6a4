#pragma once

#include "picture/PictureHolder.h"

#include <QSize>
#include <QString>

#include <memory>
#include <optional>

namespace zorvane {

// What the window shows about its picture: the path and the fields a load
// sets. A failed full decode brings back the ones shown before the load.
struct PictureShown
{
    QString path;
    int customWidth = 0;  // tenths of a millimetre
    int customHeight = 0; // tenths of a millimetre
    int resolution = 0;
};

// The window's picture: opened reduced for the screen, decoded in full for
// a print, and put back as it was when that decode fails. It holds no
// widget; the window shows what it answers.
class PictureSession
{
public:
    const PictureHolder* picture() const { return picture_.get(); }

    // Opens a file with its pixels no larger than the screen needs, on a
    // worker while the window keeps painting. shownNow is what the window
    // shows before the load, for a failed decode to return to. On failure
    // nothing changes and the answer says why.
    PictureProblem open(const QString& path, QSize screen, const PictureShown& shownNow);

    // The picture's full pixels, decoded now on a worker if they are not
    // yet. When the decode fails, the picture before the load is back and
    // the answer is what the window showed with it.
    std::optional<PictureShown> decodeFullOrRollBack();

private:
    std::unique_ptr<PictureHolder> picture_;

    // What a load replaced, kept until the new picture's full pixels are
    // decoded. The replaced picture keeps its reduced copy only, when it
    // has one.
    struct BeforeLoad
    {
        std::unique_ptr<PictureHolder> picture;
        PictureShown shown;
    };
    std::optional<BeforeLoad> beforeLoad_;
};

} // namespace zorvane
