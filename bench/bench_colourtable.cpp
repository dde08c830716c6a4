// Prints what the program makes of solid pictures that carry a colour
// profile: the colour of a ticket's middle in the PNG export and in the PDF
// export rendered by pdftoppm, beside the colour a colour-managed viewer
// shows. Run from the build directory: bench/bench_colourtable
#include "ColourCheck.h"
#include "PdfProbe.h"
#include "ProfiledFiles.h"
#include "picture/PictureHolder.h"
#include "print/SheetExport.h"
#include "settings/SheetJob.h"

#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>

#include <cstdio>

using namespace zorvane;
using namespace Qt::StringLiterals;

namespace {

constexpr int dpi = 150;
constexpr int side = 64;

QImage solid(QRgb colour)
{
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

QString rgbText(QRgb c)
{
    return u"(%1, %2, %3)"_s.arg(qRed(c)).arg(qGreen(c)).arg(qBlue(c));
}

// The middle of the first type B ticket, 10 mm from the paper's corner.
QRgb ticketMiddle(const QImage& page)
{
    const double pixelsPerMm = dpi / 25.4;
    return page.pixel(int((10.0 + 57.9 / 2) * pixelsPerMm), int((10.0 + 25.2 / 2) * pixelsPerMm));
}

struct Row
{
    const char* name;
    QByteArray file;
    QRgb viewer; // what a colour-managed viewer shows
};

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    namespace profiles = test::profiles;
    const QRgb green = qRgb(40, 160, 60);
    const QByteArray swapped = profiles::swappedRedAndGreen();
    const QByteArray adobe = profiles::adobeRgb();
    const QByteArray proPhoto = profiles::proPhoto();
    const QByteArray swop = profiles::swopCmyk();
    const QImage greenImage = solid(green);
    const Row rows[] = {
        {"JPEG (254, 0, 0), red and green swapped",
         test::jpegWithProfile(solid(qRgb(254, 0, 0)), swapped), qRgb(0, 254, 0)},
        {"JPEG, Adobe RGB (1998)",
         test::jpegWithProfile(test::srgbIntoProfile(greenImage, adobe), adobe), green},
        {"PNG, ProPhoto RGB",
         test::pngWithChunks(test::srgbIntoProfile(greenImage, proPhoto),
                             {test::iccpChunk(proPhoto)}),
         green},
        {"CMYK JPEG, SWOP press profile",
         test::cmykJpegWithProfile(side, side, test::srgbIntoCmyk(greenImage, swop), swop), green},
    };
    MainValues main;
    main.ticketType = TicketType::B;
    main.countText = u"1"_s;
    const SheetJob job = sheetJobOf(main, OptionValues{});
    QTemporaryDir dir;
    std::printf("%-42s %-16s %-16s %-16s\n", "picture", "viewer (sRGB)", "PNG export",
                "PDF export");
    for (const Row& row : rows) {
        const auto picture = PictureHolder::openBytes(row.file);
        if (!picture)
            qFatal("%s did not open", row.name);
        const QString png = dir.filePath(u"sheet.png"_s);
        const QString pdf = dir.filePath(u"sheet.pdf"_s);
        if (exportSheet(png, SheetFileFormat::Png, dpi, job, picture.get()) !=
                SheetExportResult::Written ||
            exportSheet(pdf, SheetFileFormat::Pdf, dpi, job, picture.get()) !=
                SheetExportResult::Written)
            qFatal("%s was not exported", row.name);
        std::printf("%-42s %-16s %-16s %-16s\n", row.name, qPrintable(rgbText(row.viewer)),
                    qPrintable(rgbText(ticketMiddle(QImage(png)))),
                    qPrintable(rgbText(ticketMiddle(pdfprobe::renderPage(pdf, 1, dpi)))));
    }
    return 0;
}
