#pragma once

#include <QByteArrayView>

namespace zorvane {

// Decoders of BMP and JPEG fill a cut-off file's missing rows with grey and
// report success, and a GIF's first frame can end early the same way. These
// checks walk the file's own structure and say whether the data that the
// header announces is all there. A PNG chunk that claims more bytes than
// the file holds would make the PNG library allocate what it claims, so
// such a file is refused before decoding. Files of other formats pass.
bool isCompletePictureFile(QByteArrayView data);

bool isCompleteJpeg(QByteArrayView data);
bool isCompleteBmp(QByteArrayView data);
bool isCompleteGifFirstFrame(QByteArrayView data);
bool isCompletePngStructure(QByteArrayView data);

} // namespace zorvane
