#include "engine/jpeg2000/modJPEG2000.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/platform/jp2/Jp2TestImages.h"

#include <QBuffer>
#include <QColorSpace>
#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <gtest/gtest.h>

// What a JPEG 2000 file of the save entry carries beside its pixels: the
// codestream keeps its size when a colour profile goes with it, and the capture
// resolution is the one the source file states, from wherever it states it.
using namespace picbasket;
using namespace picbasket::test::jp2;

namespace {

// A JP2 file's top-level boxes: type and content.
struct Box {
    QByteArray type;
    QByteArray content;
};

std::vector<Box> boxesOf(const QByteArray& bytes) {
    std::vector<Box> boxes;
    for (qsizetype at = 0; at + 8 <= bytes.size();) {
        qsizetype length = qFromBigEndian<quint32>(bytes.constData() + at);
        if (length == 0)
            length = bytes.size() - at;
        if (length < 8 || at + length > bytes.size())
            break;
        boxes.push_back({bytes.mid(at + 4, 4), bytes.mid(at + 8, length - 8)});
        at += length;
    }
    return boxes;
}

QByteArray boxContent(const QByteArray& bytes, const char* type) {
    for (const Box& box : boxesOf(bytes))
        if (box.type == type)
            return box.content;
    return {};
}

// An sRGB profile of the size a camera's is (3144 bytes): Qt's, padded, with its
// header's size field saying so.
QByteArray srgbProfile() {
    QByteArray icc = QColorSpace(QColorSpace::SRgb).iccProfile();
    icc.append(QByteArray(3144 - icc.size(), '\0'));
    qToBigEndian(quint32(icc.size()), icc.data());
    return icc;
}

double psnr(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB888);
    const QImage y = b.convertToFormat(QImage::Format_RGB888);
    if (x.size() != y.size())
        return 0;
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int i = 0; i < x.width() * 3; ++i) {
            const double d = double(x.constScanLine(row)[i]) - y.constScanLine(row)[i];
            sum += d * d;
        }
    const double mse = sum / (double(x.width()) * x.height() * 3);
    return mse == 0 ? 99 : 10 * std::log10(255.0 * 255.0 / mse);
}

} // namespace

// The rate sizes the codestream by the pixels: a small photo with a 3 KB profile
// gets the codestream it gets without one, about its pixels' bytes over the ratio,
// and an outside decoder shows it as it was. Before, the profile counted against
// the rate, which left a 100 x 68 photo 189 bytes of codestream (17 dB).
TEST(Jp2OutputBoxes, ProfileComesOnTopOfTheRate) {
    if (!haveTool("grk_decompress"))
        GTEST_SKIP() << "grk_decompress is not installed";
    QTemporaryDir dir;
    const QByteArray icc = srgbProfile();
    struct Row {
        int width, height;
        QImage::Format format;
        int rate;
        int samples; // per pixel
    } rows[] = {
        {100, 68, QImage::Format_RGB888, 20, 3},
        {100, 68, QImage::Format_RGB888, 10, 3},
        {300, 200, QImage::Format_RGB888, 20, 3},
        {90, 60, QImage::Format_ARGB32, 20, 4},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << "x" << row.height << " format "
                                        << row.format << " rate " << row.rate);
        const QImage source = patternImage(row.width, row.height, row.format, 7);
        const bool opaque = row.samples == 3;
        qsizetype codestream[2] = {0, 0};
        for (int withProfile : {0, 1}) {
            const QString path = dir.filePath(QStringLiteral("p%1.jp2").arg(withProfile));
            AxImage control;
            subSaveJPEG2000(control, source, path, int16_t(row.rate),
                            withProfile ? icc : QByteArray(), 300, 300);
            const QByteArray file = readFile(path);
            codestream[withProfile] = boxContent(file, "jp2c").size();
            if (withProfile)
                EXPECT_EQ(boxContent(boxContent(file, "jp2h"), "colr").mid(3), icc);
            if (!opaque)
                continue; // a portable pixmap holds no opacity
            const QString decoded = dir.filePath("decoded.ppm");
            QString output;
            ASSERT_TRUE(runTool("grk_decompress", {"-i", path, "-o", decoded}, &output))
                << output.toStdString();
            EXPECT_GT(psnr(readPnm(decoded), source), 28) << "with profile " << withProfile;
            QFile::remove(decoded);
        }
        const double target =
            double(row.width) * row.height * row.samples / ((26 - row.rate) * 2);
        EXPECT_NEAR(double(codestream[1]), double(codestream[0]), 2);
        // Rate control lands at or a little under the budget on so few pixels.
        EXPECT_LE(double(codestream[1]), target * 1.05 + 16);
        EXPECT_GE(double(codestream[1]), target * 0.75);
    }
}

namespace {

// A JPEG whose only resolution is its JFIF segment's: units (1 per inch, 2 per
// centimetre) and the two densities written into the segment.
QByteArray jfifJpeg(const QImage& image, int units, int x, int y) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    const qsizetype jfif = bytes.indexOf(QByteArray("JFIF\0", 5));
    EXPECT_EQ(jfif, 6);
    bytes[jfif + 7] = char(units);
    qToBigEndian(quint16(x), bytes.data() + jfif + 8);
    qToBigEndian(quint16(y), bytes.data() + jfif + 10);
    EXPECT_EQ(bytes.indexOf("Exif"), -1);
    return bytes;
}

// A PNG or BMP stating the given pixels per metre (pHYs, the info header).
QByteArray perMetreFile(const QImage& source, const char* format, int x, int y) {
    QImage image = source;
    image.setDotsPerMeterX(x);
    image.setDotsPerMeterY(y);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    if (QByteArray(format) == "BMP") {
        EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 38), x);
        EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + 42), y);
    } else {
        const qsizetype phys = bytes.indexOf("pHYs");
        EXPECT_GT(phys, 0);
        EXPECT_EQ(qFromBigEndian<quint32>(bytes.constData() + phys + 4), quint32(x));
        EXPECT_EQ(bytes[phys + 12], 1);
    }
    return bytes;
}

// The capture resolution box of a JP2 file in pixels per metre (vertical,
// horizontal), from its bytes: numerators, denominators and powers of ten.
std::pair<double, double> captureResolution(const QByteArray& jp2) {
    const QByteArray resc = boxContent(boxContent(boxContent(jp2, "jp2h"), "res "), "resc");
    if (resc.size() != 10)
        return {0, 0};
    const auto figure = [&](int at, int exponentAt) {
        return qFromBigEndian<quint16>(resc.constData() + at) /
               double(qFromBigEndian<quint16>(resc.constData() + at + 2)) *
               std::pow(10.0, double(qint8(resc[exponentAt])));
    };
    return {figure(0, 8), figure(4, 9)};
}

QString tiffResolution(const QString& path) {
    QString output;
    if (!runTool("tiffinfo", {path}, &output))
        return QStringLiteral("tiffinfo failed: ") + output;
    const qsizetype at = output.indexOf(QLatin1String("Resolution:"));
    return at < 0 ? QString() : output.mid(at).section(QLatin1Char('\n'), 0, 0).trimmed();
}

} // namespace

// The capture resolution box and a TIFF save give the resolution a JPEG's JFIF
// segment, a PNG's pHYs chunk or a BMP header states, exactly: the box in the
// source's own figures (300 dpi as 300 per inch, 118 per centimetre as 11800 per
// metre), the TIFF in whole dots per inch or per centimetre, not QImage's
// rounding (299.9994, 72.009). A file that states none gives none.
TEST(Jp2OutputBoxes, CaptureResolutionComesFromTheSourcesHeader) {
    const bool haveTiffinfo = haveTool("tiffinfo");
    const bool haveJpylyzer = haveTool("jpylyzer");
    QTemporaryDir dir;
    const QImage picture = patternImage(40, 30, QImage::Format_RGB888, 3);
    constexpr double perInch = 1 / 0.0254;
    struct Row {
        const char* name;
        QByteArray bytes;
        double vertical, horizontal; // pixels per metre in the box, 0 for none
        const char* tiff;            // tiffinfo's line, empty for none
    } rows[] = {
        {"jfif300.jpg", jfifJpeg(picture, 1, 300, 300), 300 * perInch, 300 * perInch,
         "Resolution: 300, 300 pixels/inch"},
        {"jfif300x150.jpg", jfifJpeg(picture, 1, 300, 150), 150 * perInch, 300 * perInch,
         "Resolution: 300, 150 pixels/inch"},
        {"jfif118cm.jpg", jfifJpeg(picture, 2, 118, 118), 11800, 11800,
         "Resolution: 118, 118 pixels/cm"},
        {"aspect.jpg", jfifJpeg(picture, 0, 1, 1), 0, 0, ""},
        {"phys2835.png", perMetreFile(picture, "PNG", 2835, 2835), 2835, 2835,
         "Resolution: 72, 72 pixels/inch"},
        {"phys11811x5906.png", perMetreFile(picture, "PNG", 11811, 5906), 5906, 11811,
         "Resolution: 300, 150 pixels/inch"},
        {"header3780.bmp", perMetreFile(picture, "BMP", 3780, 3780), 3780, 3780,
         "Resolution: 96, 96 pixels/inch"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const QString source = dir.filePath(QString::fromLatin1(row.name));
        writeFile(source, row.bytes);
        ImageBox box;
        box.LoadFromFile(source);
        double xDpi = 0, yDpi = 0;
        box.CaptureResolution(xDpi, yDpi);
        const QString jp2 = source + QStringLiteral(".jp2");
        AxImage control;
        subSaveJPEG2000(control, box.Picture(), jp2, 20, box.IccProfile(), xDpi, yDpi);
        const auto [vertical, horizontal] = captureResolution(readFile(jp2));
        EXPECT_NEAR(vertical, row.vertical, 1e-6 * row.vertical);
        EXPECT_NEAR(horizontal, row.horizontal, 1e-6 * row.horizontal);
        if (haveJpylyzer) {
            QString report;
            runTool("jpylyzer", {jp2}, &report);
            EXPECT_TRUE(report.contains("<isValid format=\"jp2\">True</isValid>"))
                << report.toStdString();
        }
        if (haveTiffinfo && row.tiff[0]) {
            const QString tiff = source + QStringLiteral(".tif");
            box.SaveToFile(tiff);
            EXPECT_EQ(tiffResolution(tiff).toStdString(), row.tiff);
        }
    }
}
