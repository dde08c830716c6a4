// Writes the starting corpora of the fuzz targets: small valid files of
// every picture format the program reads, stores, printer settings records
// and label sheet files.
//   zorvane_fuzz_seeds DIR   makes DIR/picture, DIR/store, DIR/printer_settings
#include "picture/ColourProfile.h"
#include "picture/PictureHolder.h"
#include "print/PrinterRecord.h"
#include "print/PrinterSettingsBlock.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>

namespace {

bool save(const QString& dir, const QString& name, const QByteArray& bytes)
{
    QDir().mkpath(dir);
    QFile file(QDir(dir).filePath(name));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QImage sample(int width, int height, bool alpha)
{
    QImage image(width, height, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgba(x * 40, y * 40, (x + y) * 20, alpha ? 128 : 255));
    return image;
}

// Formats Qt reads but cannot write, made by hand.
void handMade(const QString& dir)
{
    // A 1 x 1 GIF89a with a two-colour palette.
    save(dir, QStringLiteral("tiny.gif"),
         QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\xff\x00\x00\x00\x00\xff"
                    "!\xf9\x04\x01\x00\x00\x00\x00,\x00\x00\x00\x00\x01\x00\x01\x00\x00"
                    "\x02\x02\x44\x01\x00;",
                    43));
    // A 2 x 2 uncompressed true-colour TGA.
    QByteArray tga(18, '\0');
    tga[2] = 2;
    tga[12] = 2;
    tga[14] = 2;
    tga[16] = 24;
    tga += QByteArray("\x00\x00\xff\x00\xff\x00\xff\x00\x00\xff\xff\xff", 12);
    save(dir, QStringLiteral("tiny.tga"), tga);
    // Run-length coded BMP (8 bits): two rows of two pixels.
    QByteArray rle("BM", 2);
    rle += QByteArray(52, '\0');
    const QByteArray palette("\x00\x00\x00\x00\xff\xff\xff\x00", 8);
    const QByteArray pixels("\x02\x01\x00\x00\x02\x00\x00\x01", 8);
    auto put32 = [&](int at, quint32 v) {
        for (int i = 0; i < 4; ++i)
            rle[at + i] = char((v >> (8 * i)) & 0xFF);
    };
    put32(2, quint32(54 + palette.size() + pixels.size()));
    put32(10, quint32(54 + palette.size()));
    put32(14, 40);
    put32(18, 2);
    put32(22, 2);
    rle[26] = 1;
    rle[28] = 8;
    put32(30, 1); // RLE8
    put32(34, quint32(pixels.size()));
    put32(46, 2);
    save(dir, QStringLiteral("rle8.bmp"), rle + palette + pixels);
}

// Pictures that carry a colour profile, in every format's own place for
// it: a small matrix profile Qt writes into JPEG APP2, PNG iCCP, TIFF's tag
// and WebP's ICCP chunk, and PNGs that describe their colour by gAMA and
// cHRM or state sRGB.
void profiled(const QString& dir)
{
    const cmsCIExyY d65{0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE wide{{0.68, 0.32, 1.0}, {0.265, 0.69, 1.0}, {0.15, 0.06, 1.0}};
    QImage image = sample(8, 6, false);
    image.setColorSpace(
        QColorSpace::fromIccProfile(zorvane::rgbProfileFor(d65, wide, zorvane::ToneCurve::srgb())));
    for (const char* format : {"jpeg", "png", "tiff", "webp"}) {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (QImageWriter(&buffer, format).write(image))
            save(dir, QStringLiteral("profiled.%1").arg(QLatin1StringView(format)), bytes);
    }
    QByteArray png;
    {
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter(&buffer, "png").write(sample(8, 6, false));
    }
    // gAMA of 1.0 and cHRM of wide primaries after the header (their
    // checksums left zero: the fuzzer mends or breaks them in turn).
    const QByteArray chunks = QByteArray::fromHex("00000004"
                                                  "67414d41"
                                                  "000186a0"
                                                  "00000000"
                                                  "00000020"
                                                  "6348524d"
                                                  "00007a26"
                                                  "00008084"
                                                  "000109a0"
                                                  "00007d00"
                                                  "00006784"
                                                  "00010d88"
                                                  "00003a98"
                                                  "00001770"
                                                  "00000000");
    save(dir, QStringLiteral("gama-chrm.png"), png.left(33) + chunks + png.mid(33));
}

void pictures(const QString& dir)
{
    for (const QByteArray& format : QImageWriter::supportedImageFormats()) {
        if (!zorvane::PictureHolder::readableFormats().contains(format))
            continue;
        for (const bool alpha : {false, true}) {
            QByteArray bytes;
            QBuffer buffer(&bytes);
            buffer.open(QIODevice::WriteOnly);
            QImageWriter writer(&buffer, format);
            if (!writer.write(sample(alpha ? 5 : 8, alpha ? 3 : 6, alpha)))
                continue;
            save(dir,
                 QStringLiteral("%1%2.%3")
                     .arg(alpha ? QStringLiteral("alpha") : QStringLiteral("plain"))
                     .arg(bytes.size())
                     .arg(QString::fromLatin1(format)),
                 bytes);
        }
    }
    // A progressive JPEG and a JPEG with an orientation tag exercise other
    // paths of the decoder.
    QByteArray progressive;
    {
        QBuffer buffer(&progressive);
        buffer.open(QIODevice::WriteOnly);
        QImageWriter writer(&buffer, "jpeg");
        writer.setProgressiveScanWrite(true);
        writer.write(sample(16, 9, false));
    }
    save(dir, QStringLiteral("progressive.jpg"), progressive);
    handMade(dir);
    profiled(dir);
}

void stores(const QString& dir)
{
    save(dir, QStringLiteral("main.ini"),
         "[Main]\nRADIO1=1\nRADIO5=1\nRADIO8=1\nCOMBO1=12\nEDIT2=500\nEDIT3=300\nCHK1=1\n");
    save(dir, QStringLiteral("option.ini"),
         "[Option]\nEDIT1=100\nEDIT2=100\nEDIT3=3\nEDIT4=3\nEDIT5=255\nEDIT6=0\n"
         "EDIT7=0\nEDIT8=120\nCHK1=1\nCHK2=1\nCOMBO1=4\nCOMBO2=3\n");
    save(dir, QStringLiteral("quoted.ini"),
         "[Main]\nCOMBO1=\" 12x\"\nEDIT2=1,2\nEDIT3=@Variant(\\0\\0\\0\\x7f)\nRADIO4=1\n"
         "[Option]\nEDIT1=\\x41\\u3042\n; comment\n[Calibration]\nZorvanePDF\\x=1\n");
    save(dir, QStringLiteral("empty.ini"), QByteArray());
}

void printerRecords(const QString& dir)
{
    QPrinter pdf(QPrinter::HighResolution);
    pdf.setOutputFormat(QPrinter::PdfFormat);
    pdf.setOutputFileName(QStringLiteral("/tmp/sheet.pdf"));
    pdf.setPageSize(QPageSize(QPageSize::A4));
    save(dir, QStringLiteral("pdf-file.zvn"), zorvane::PrinterRecord::fromPrinter(pdf).record());

    pdf.setPageSize(QPageSize(QSizeF(148, 105), QPageSize::Millimeter));
    pdf.setPageOrientation(QPageLayout::Landscape);
    pdf.setCopyCount(3);
    save(dir, QStringLiteral("custom-paper.zvn"),
         zorvane::PrinterRecord::fromPrinter(pdf).record());

    zorvane::PrinterSettingsBlock block;
    block.setDriverExtra("printer=A printer/with \\ odd%25 "
                         "name\nformat=native\noutput=/tmp/x%0A.pdf\ncups.media=A4\n");
    save(dir, QStringLiteral("tail.zvn"), block.record());
    save(dir, QStringLiteral("short.zvn"), block.record().left(40));
}

void labelTemplates(const QString& dir)
{
    save(dir, QStringLiteral("paper-sizes.xml"),
         "<?xml version=\"1.0\"?>\n<Glabels-paper-sizes>\n"
         "  <Paper-size id=\"A4\" _name=\"A4\" width=\"210mm\" height=\"297mm\"/>\n"
         "  <Paper-size id=\"US-Letter\" _name=\"US Letter\" width=\"8.5in\" height=\"11in\"/>\n"
         "</Glabels-paper-sizes>\n");
    save(dir, QStringLiteral("products.xml"),
         "<?xml version=\"1.0\"?>\n<Glabels-templates>\n"
         "  <Template brand=\"B\" part=\"X1\" size=\"A4\" _description=\"Labels\">\n"
         "    <Label-rectangle id=\"0\" width=\"60mm\" height=\"20mm\" round=\"1mm\">\n"
         "      <Layout nx=\"3\" ny=\"12\" x0=\"12mm\" y0=\"12mm\" dx=\"63mm\" dy=\"23mm\"/>\n"
         "    </Label-rectangle>\n  </Template>\n"
         "  <Template brand=\"B\" part=\"R\" size=\"Other\" width=\"8.5in\" height=\"11in\">\n"
         "    <Label-round id=\"0\" radius=\"0.75in\">\n"
         "      <Layout nx=\"4\" ny=\"5\" x0=\"0.5in\" y0=\"0.75in\" dx=\"2in\" dy=\"2in\"/>\n"
         "    </Label-round>\n  </Template>\n"
         "  <Template brand=\"B\" part=\"E\" equiv=\"B X1\"/>\n"
         "</Glabels-templates>\n");
}

// HEIC and AVIF files, as heif-enc writes them, with and without a
// thumbnail; none when heif-enc is not installed.
void heifPictures(const QString& dir)
{
    QTemporaryDir work;
    const QString png = work.filePath(QStringLiteral("sample.png"));
    if (!sample(24, 16, false).save(png))
        return;
    const struct
    {
        const char* name;
        QStringList options;
    } kinds[] = {
        {"plain.heic", {}},
        {"thumbnail.heic", {QStringLiteral("-t"), QStringLiteral("8")}},
        {"plain.avif", {QStringLiteral("-A")}},
    };
    QDir().mkpath(dir);
    for (const auto& kind : kinds) {
        const QString out = QDir(dir).filePath(QString::fromLatin1(kind.name));
        QProcess::execute(QStringLiteral("heif-enc"),
                          kind.options + QStringList{QStringLiteral("-q"), QStringLiteral("50"),
                                                     QStringLiteral("-o"), out, png});
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zorvane_fuzz_seeds DIR\n");
        return 2;
    }
    const QString root = QString::fromLocal8Bit(argv[1]);
    pictures(QDir(root).filePath(QStringLiteral("picture")));
    heifPictures(QDir(root).filePath(QStringLiteral("picture")));
    stores(QDir(root).filePath(QStringLiteral("store")));
    printerRecords(QDir(root).filePath(QStringLiteral("printer_settings")));
    labelTemplates(QDir(root).filePath(QStringLiteral("label_templates")));
    return 0;
}
