// Writes the test pictures the export benchmark reads: a 24-megapixel and a
// 100-megapixel photo-like JPEG, a 24-megapixel JPEG stored on its side with
// an EXIF orientation, a 24-megapixel JPEG with an Adobe RGB profile, a
// 24-megapixel PNG, a 12-megapixel HEIC with a thumbnail as a phone writes
// it, and a 200-megapixel JPEG of the largest phone sensors, into the
// directory given as the only argument. Files already there are kept.
#include "BenchSupport.h"

#include <QColorSpace>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageWriter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

using namespace zorvane::bench;
using namespace Qt::StringLiterals;

namespace {

void write(const QString& path, const char* format, int width, int height,
           QImageIOHandler::Transformations turn = QImageIOHandler::TransformationNone,
           const QColorSpace& colours = QColorSpace())
{
    if (QFileInfo::exists(path))
        return;
    QImageWriter writer(path, format);
    if (qstrcmp(format, "jpeg") == 0)
        writer.setQuality(90);
    writer.setTransformation(turn);
    QImage photo = photoLike(width, height);
    photo.setColorSpace(colours); // written as the file's ICC profile
    if (!writer.write(photo))
        qFatal("cannot write %s", qPrintable(path));
    std::printf("wrote %s (%dx%d, %.1f MB)\n", qPrintable(path), width, height,
                QFileInfo(path).size() / 1e6);
}

// Through heif-enc, as a phone's pictures are made elsewhere.
void writeHeic(const QString& path, int width, int height)
{
    if (QFileInfo::exists(path))
        return;
    QTemporaryDir work;
    const QString png = work.filePath(u"source.png"_s);
    if (!photoLike(width, height).save(png))
        qFatal("cannot write %s", qPrintable(png));
    if (QProcess::execute(u"heif-enc"_s,
                          {u"-q"_s, u"90"_s, u"-t"_s, u"320"_s, u"-o"_s, path, png}) != 0)
        qFatal("heif-enc cannot write %s", qPrintable(path));
    std::printf("wrote %s (%dx%d, %.1f MB)\n", qPrintable(path), width, height,
                QFileInfo(path).size() / 1e6);
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_pictures DIRECTORY\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    write(dir.filePath(u"photo24.jpg"_s), "jpeg", 6000, 4000);
    write(dir.filePath(u"photo100.jpg"_s), "jpeg", 12000, 8333);
    write(dir.filePath(u"photo24.png"_s), "png", 6000, 4000);
    // Stored on its side, as a camera held upright writes it.
    write(dir.filePath(u"photo24-turned.jpg"_s), "jpeg", 4000, 6000,
          QImageIOHandler::TransformationRotate90);
    // The same numbers as photo24.jpg, meant in Adobe RGB, as a camera set
    // to it writes them: the cost of converting a profile, side by side.
    write(dir.filePath(u"photo24-adobe.jpg"_s), "jpeg", 6000, 4000,
          QImageIOHandler::TransformationNone, QColorSpace(QColorSpace::AdobeRgb));
    writeHeic(dir.filePath(u"photo12.heic"_s), 4032, 3024);
    write(dir.filePath(u"photo200.jpg"_s), "jpeg", 16320, 12240);
    return 0;
}
