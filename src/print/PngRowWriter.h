#pragma once

#include <QSize>

#include <memory>

class QImage;
class QIODevice;

namespace zorvane {

// Writes an 8-bit RGB PNG row by row as it is drawn, so a page never has to
// be held whole. Rows come as 32-bit RGB pixels (QImage::Format_RGB32).
// Deflate runs at a fast level with the "sub" filter, which suits a mostly
// white sheet with photos in its tickets.
class PngRowWriter
{
public:
    // The resolution is recorded in the file, in dots per metre.
    PngRowWriter(QIODevice& device, QSize size, int dotsPerMetre);
    ~PngRowWriter();

    PngRowWriter(const PngRowWriter&) = delete;
    PngRowWriter& operator=(const PngRowWriter&) = delete;

    // The first rows of the band, continuing where the last call ended;
    // false once anything failed (the device refused bytes, too many rows).
    bool writeRows(const QImage& band, int rows);
    // Ends the file; false when it is not complete and whole.
    bool finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace zorvane
