#include "PictureSession.h"

#include "WindowLiveWork.h"

namespace zorvane {

PictureProblem PictureSession::open(const QString& path, QSize screen, const PictureShown& shownNow)
{
    std::unique_ptr<PictureHolder> loaded;
    PictureProblem problem = PictureProblem::None;
    runKeepingWindowLive([&] { loaded = PictureHolder::openForScreen(path, screen, &problem); });
    if (!loaded)
        return problem;
    // A second load before the first picture was ever decoded in full keeps
    // the state before the first as the one a failed decode returns to.
    if (!beforeLoad_ && !loaded->hasFullPixels()) {
        if (picture_)
            picture_->dropFullPixels();
        beforeLoad_ = BeforeLoad{std::move(picture_), shownNow};
    }
    if (loaded->hasFullPixels())
        beforeLoad_.reset();
    picture_ = std::move(loaded);
    return PictureProblem::None;
}

std::optional<PictureShown> PictureSession::decodeFullOrRollBack()
{
    if (!picture_ || picture_->hasFullPixels())
        return std::nullopt;
    QImage pixels = decodeFullKeepingWindowLive(*picture_);
    if (!pixels.isNull()) {
        picture_->adoptFull(std::move(pixels));
        beforeLoad_.reset();
        return std::nullopt;
    }
    BeforeLoad before = beforeLoad_ ? std::move(*beforeLoad_) : BeforeLoad{};
    beforeLoad_.reset();
    picture_ = std::move(before.picture);
    return before.shown;
}

} // namespace zorvane
