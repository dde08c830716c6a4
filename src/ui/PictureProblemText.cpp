#include "PictureProblemText.h"

using namespace Qt::StringLiterals;

namespace zorvane {

QString pictureProblemMessage(PictureProblem problem)
{
    switch (problem) {
    case PictureProblem::None:
        break;
    case PictureProblem::CannotOpen:
        return u"画像ファイルを開けません。\n画像を選び直して下さい。"_s;
    case PictureProblem::TooLarge:
        return u"画像が大きすぎます。\n1億画素以下の画像を選んで下さい。"_s;
    case PictureProblem::Damaged:
        return u"画像ファイルが壊れています。\n画像を選び直して下さい。"_s;
    case PictureProblem::NotAPicture:
        return u"読み込める種類の画像ファイルではありません。\n"
               u"BMP、JPEG、GIF、PNG などの画像を選んで下さい。"_s;
    }
    return QString();
}

} // namespace zorvane
