#include "TestPictures.h"

namespace zorvane::test {

QImage quarteredImage(int width, int height, const QuarterColours& colours)
{
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const bool right = x >= width / 2;
            const bool bottom = y >= height / 2;
            image.setPixel(x, y,
                           bottom ? (right ? colours.bottomRight : colours.bottomLeft)
                                  : (right ? colours.topRight : colours.topLeft));
        }
    }
    return image;
}

} // namespace zorvane::test
