#include "Jp2TestImages.h"

#include "platform/jp2/AxImage.h"

#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>
#include <functional>
#include <grok.h>
#include <gtest/gtest.h>

using namespace picbasket;
using namespace picbasket::test::jp2;

namespace {

QImage loadWithControl(const QString& path) {
    AxImage control;
    control.LoadFile(path, control.FormatFromExtension(QFileInfo(path).suffix()));
    return control.GetBitmapHandle(0);
}

void saveWithControl(const QImage& image, const QString& path, int rate) {
    AxImage control;
    control.SetBitmapHandle(image);
    control.SetCompressionRate(rate);
    control.SaveFile(path, control.FormatFromExtension(QFileInfo(path).suffix()));
}

// One component for encodeWithGrok: its size, depth, sign and sample function.
struct Plane {
    uint32_t w, h;
    uint8_t dx, dy, prec;
    bool sgnd;
    std::function<int32_t(uint32_t, uint32_t)> sample;
};

// Encodes planes losslessly with the library directly, to make files our own
// encoder never writes (sub-sampled sYCC, signed and odd depths).
bool encodeWithGrok(const std::vector<Plane>& planes, GRK_COLOR_SPACE space, const QString& path) {
    grk_initialize(nullptr, 0);
    std::vector<grk_image_comp> params(planes.size());
    for (size_t i = 0; i < planes.size(); ++i) {
        params[i] = {};
        params[i].w = planes[i].w;
        params[i].h = planes[i].h;
        params[i].dx = planes[i].dx;
        params[i].dy = planes[i].dy;
        params[i].prec = planes[i].prec;
        params[i].sgnd = planes[i].sgnd;
    }
    grk_image* image = grk_image_new(uint16_t(planes.size()), params.data(), space);
    if (!image)
        return false;
    image->x1 = planes[0].w * planes[0].dx;
    image->y1 = planes[0].h * planes[0].dy;
    for (size_t i = 0; i < planes.size(); ++i)
        for (uint32_t y = 0; y < planes[i].h; ++y)
            for (uint32_t x = 0; x < planes[i].w; ++x)
                image->comps[i].data[size_t(y) * image->comps[i].stride + x] =
                    planes[i].sample(x, y);
    grk_cparameters cp;
    grk_compress_set_default_params(&cp);
    cp.cod_format = path.endsWith(QLatin1String(".jp2")) ? GRK_FMT_JP2 : GRK_FMT_J2K;
    cp.numresolution = 3;
    const QByteArray name = QFile::encodeName(path);
    grk_stream_params stream{};
    stream.file = name.constData();
    grk_codec* codec = grk_compress_init(&stream, &cp, image);
    const bool ok = codec && grk_compress(codec, nullptr);
    if (codec)
        grk_object_unref(codec);
    grk_object_unref(&image->obj);
    return ok;
}

QByteArray box(const char* type, const QByteArray& payload) {
    QByteArray out(4, '\0');
    qToBigEndian<quint32>(quint32(8 + payload.size()), out.data());
    return out + QByteArray(type, 4) + payload;
}

QByteArray be16(int v) {
    return QByteArray(1, char(v >> 8)) + QByteArray(1, char(v & 0xFF));
}
QByteArray be32(quint32 v) {
    return be16(int(v >> 16)) + be16(int(v & 0xFFFF));
}

// A JP2 file around a one-component codestream of 2-bit indexes, with a palette box
// that maps each index to an RGB colour.
QByteArray paletteJp2(const QByteArray& codestream, int width, int height,
                      const QList<QRgb>& colours) {
    const QByteArray ihdr =
        be32(quint32(height)) + be32(quint32(width)) + be16(1) + QByteArray("\x01\x07\x00\x00", 4);
    const QByteArray colr = QByteArray("\x01\x00\x00", 3) + be32(16);
    QByteArray pclr = be16(int(colours.size())) + QByteArray("\x03\x07\x07\x07", 4);
    for (QRgb c : colours)
        pclr += QByteArray(1, char(qRed(c))) + QByteArray(1, char(qGreen(c))) +
                QByteArray(1, char(qBlue(c)));
    QByteArray cmap;
    for (int i = 0; i < 3; ++i)
        cmap += be16(0) + QByteArray(1, '\x01') + QByteArray(1, char(i));
    const QByteArray header =
        box("ihdr", ihdr) + box("colr", colr) + box("pclr", pclr) + box("cmap", cmap);
    return QByteArray::fromHex("0000000c6a5020200d0a870a") +
           box("ftyp", QByteArray("jp2 \0\0\0\0jp2 ", 12)) + box("jp2h", header) +
           box("jp2c", codestream);
}

struct ToolCase {
    const char* name;
    const char* tool;
    QImage::Format format;
    const char* extension;
    QStringList extraArgs;
};

class Jp2OutsideFiles : public ::testing::TestWithParam<ToolCase> {};

} // namespace

// Files the two reference encoders write, losslessly, decode to the very pixels
// they were made from, with tiles, precincts, layers and progression orders varied.
TEST_P(Jp2OutsideFiles, DecodeToSamePixels) {
    const ToolCase& c = GetParam();
    if (!haveTool(QString::fromLatin1(c.tool)))
        GTEST_SKIP() << c.tool << " is not installed";
    QTemporaryDir dir;
    const QImage original = patternImage(90, 70, c.format, 11);
    const bool grey = original.isGrayscale();
    const QString input = dir.filePath(grey ? QStringLiteral("in.pgm") : QStringLiteral("in.ppm"));
    const QString output = dir.filePath(QStringLiteral("out.") + c.extension);
    writePnm(original, input);
    QString log;
    ASSERT_TRUE(runTool(QString::fromLatin1(c.tool),
                        QStringList{"-i", input, "-o", output} + c.extraArgs, &log))
        << qPrintable(log);
    EXPECT_TRUE(samePixels(original, loadWithControl(output)));
}

INSTANTIATE_TEST_SUITE_P(
    Encoders, Jp2OutsideFiles,
    ::testing::Values(
        ToolCase{"OpjRgb", "opj_compress", QImage::Format_RGB888, "jp2", {}},
        ToolCase{"OpjRgbTiledLayered",
                 "opj_compress",
                 QImage::Format_RGB888,
                 "j2k",
                 {"-t", "32,32", "-r", "20,5,1", "-p", "RPCL", "-c", "[64,64],[32,32]"}},
        ToolCase{"OpjRgbOffsetOrigin", "opj_compress", QImage::Format_RGB888, "j2k", {"-d", "5,3"}},
        ToolCase{"OpjGrey", "opj_compress", QImage::Format_Grayscale8, "jp2", {}},
        ToolCase{"OpjGrey16", "opj_compress", QImage::Format_Grayscale16, "j2k", {"-n", "2"}},
        ToolCase{"GrkRgb", "grk_compress", QImage::Format_RGB888, "jp2", {}},
        ToolCase{"GrkRgbTiled",
                 "grk_compress",
                 QImage::Format_RGB888,
                 "j2k",
                 {"-t", "40,24", "-n", "3", "-p", "CPRL"}},
        ToolCase{"GrkGrey", "grk_compress", QImage::Format_Grayscale8, "jp2", {}},
        ToolCase{"GrkRgb16", "grk_compress", QImage::Format_RGBX64, "jp2", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// A lossy outside file decodes as the reference decoder decodes it (within one level).
TEST(Jp2Interop, LossyOutsideFileMatchesReferenceDecoder) {
    if (!haveTool(QStringLiteral("opj_compress")) || !haveTool(QStringLiteral("opj_decompress")))
        GTEST_SKIP() << "opj tools are not installed";
    QTemporaryDir dir;
    writePnm(patternImage(100, 80, QImage::Format_RGB888, 4),
             dir.filePath(QStringLiteral("in.ppm")));
    ASSERT_TRUE(
        runTool(QStringLiteral("opj_compress"),
                {"-i", dir.filePath("in.ppm"), "-o", dir.filePath("l.jp2"), "-I", "-r", "30,10"}));
    ASSERT_TRUE(runTool(QStringLiteral("opj_decompress"),
                        {"-i", dir.filePath("l.jp2"), "-o", dir.filePath("ref.ppm")}));
    EXPECT_TRUE(samePixels(readPnm(dir.filePath(QStringLiteral("ref.ppm"))),
                           loadWithControl(dir.filePath("l.jp2")), 1));
}

// What we write, the reference decoder reads back to the same pixels.
TEST(Jp2Interop, ReferenceDecoderReadsOurFiles) {
    if (!haveTool(QStringLiteral("opj_decompress")))
        GTEST_SKIP() << "opj_decompress is not installed";
    QTemporaryDir dir;
    const struct {
        QImage::Format format;
        const char* file;
        const char* decoded;
    } rows[] = {{QImage::Format_RGB888, "rgb.jp2", "rgb.ppm"},
                {QImage::Format_RGB888, "rgb.j2k", "rgbc.ppm"},
                {QImage::Format_Grayscale8, "grey.jpc", "grey.pgm"},
                {QImage::Format_Grayscale16, "grey16.jp2", "grey16.pgm"},
                {QImage::Format_ARGB32, "rgba.jp2", "rgba.png"}};
    for (const auto& row : rows) {
        const QImage original = patternImage(45, 38, row.format, 9);
        saveWithControl(original, dir.filePath(row.file), 25);
        QString log;
        ASSERT_TRUE(runTool(QStringLiteral("opj_decompress"),
                            {"-i", dir.filePath(row.file), "-o", dir.filePath(row.decoded)}, &log))
            << qPrintable(log);
        const QString decoded = dir.filePath(row.decoded);
        const QImage theirs =
            decoded.endsWith(QLatin1String(".png")) ? QImage(decoded) : readPnm(decoded);
        EXPECT_TRUE(samePixels(original, theirs)) << row.file;
    }
    saveWithControl(patternImage(64, 64, QImage::Format_RGB888),
                    dir.filePath(QStringLiteral("lossy.jp2")), 20);
    EXPECT_TRUE(runTool(QStringLiteral("opj_decompress"),
                        {"-i", dir.filePath("lossy.jp2"), "-o", dir.filePath("lossy.ppm")}));
}

// sYCC with 4:2:0 chroma becomes RGB as the reference decoder makes it.
TEST(Jp2Interop, SubsampledSyccBecomesRgb) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sycc.jp2"));
    const uint32_t w = 48, h = 36;
    ASSERT_TRUE(encodeWithGrok(
        {{w, h, 1, 1, 8, false,
          [](uint32_t x, uint32_t y) { return int32_t((x * 5 + y * 3) % 256); }},
         {w / 2, h / 2, 2, 2, 8, false, [](uint32_t x, uint32_t) { return int32_t(100 + x * 3); }},
         {w / 2, h / 2, 2, 2, 8, false, [](uint32_t, uint32_t y) { return int32_t(180 - y * 4); }}},
        GRK_CLRSPC_SYCC, path));
    const QImage ours = loadWithControl(path);
    ASSERT_EQ(ours.size(), QSize(int(w), int(h)));
    EXPECT_FALSE(ours.isGrayscale());
    // Pixel (10, 4): Y 62, Cb 115, Cr 172 gives R 124, G 35, B 39 by the sYCC equations.
    const QRgb p = ours.pixel(10, 4);
    EXPECT_NEAR(qRed(p), 124, 1);
    EXPECT_NEAR(qGreen(p), 35, 1);
    EXPECT_NEAR(qBlue(p), 39, 1);
    if (!haveTool(QStringLiteral("opj_decompress")))
        GTEST_SKIP() << "opj_decompress is not installed";
    ASSERT_TRUE(
        runTool(QStringLiteral("opj_decompress"), {"-i", path, "-o", dir.filePath("sycc.ppm")}));
    EXPECT_TRUE(samePixels(readPnm(dir.filePath(QStringLiteral("sycc.ppm"))), ours, 2));
}

// Depths other than 8 and 16, signed or not, are scaled to the full range of the
// picture: 1 to 8 bits into 8-bit grey, 9 to 16 bits into 16-bit grey.
TEST(Jp2Interop, OddDepthsAndSignedSamplesAreScaled) {
    QTemporaryDir dir;
    const struct {
        uint8_t prec;
        bool sgnd;
        int32_t low, high;
        QImage::Format expectedFormat;
        int expectedLow, expectedHigh;
    } rows[] = {{1, false, 0, 1, QImage::Format_Grayscale8, 0, 255},
                {4, false, 3, 15, QImage::Format_Grayscale8, 51, 255},
                {8, true, -128, 127, QImage::Format_Grayscale8, 0, 255},
                {12, true, -2048, 0, QImage::Format_Grayscale16, 0, 32776},
                {12, false, 0, 4095, QImage::Format_Grayscale16, 0, 65535}};
    for (const auto& row : rows) {
        const QString path = dir.filePath(QStringLiteral("d%1%2.j2k").arg(row.prec).arg(row.sgnd));
        ASSERT_TRUE(
            encodeWithGrok({{16, 8, 1, 1, row.prec, row.sgnd,
                             [&](uint32_t x, uint32_t) { return x < 8 ? row.low : row.high; }}},
                           GRK_CLRSPC_GRAY, path));
        const QImage image = loadWithControl(path);
        ASSERT_EQ(image.format(), row.expectedFormat) << int(row.prec);
        const auto value = [&](int x) {
            return image.format() == QImage::Format_Grayscale16
                       ? reinterpret_cast<const quint16*>(image.constScanLine(3))[x]
                       : image.constScanLine(3)[x];
        };
        EXPECT_EQ(value(2), row.expectedLow) << int(row.prec) << (row.sgnd ? " signed" : "");
        EXPECT_EQ(value(12), row.expectedHigh) << int(row.prec) << (row.sgnd ? " signed" : "");
    }
}

// A palette file shows the palette's colours, not the indexes.
TEST(Jp2Interop, PaletteIsExpanded) {
    QTemporaryDir dir;
    const auto index = [](uint32_t x, uint32_t y) { return int32_t((x / 6 + y) % 4); };
    ASSERT_TRUE(encodeWithGrok({{24, 10, 1, 1, 2, false, index}}, GRK_CLRSPC_GRAY,
                               dir.filePath(QStringLiteral("idx.j2k"))));
    const QList<QRgb> colours = {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(20, 40, 250),
                                 qRgb(250, 250, 10)};
    const QString path = dir.filePath(QStringLiteral("pal.jp2"));
    writeFile(path, paletteJp2(readFile(dir.filePath(QStringLiteral("idx.j2k"))), 24, 10, colours));
    const QImage image = loadWithControl(path);
    ASSERT_EQ(image.size(), QSize(24, 10));
    for (uint32_t y = 0; y < 10; ++y)
        for (uint32_t x = 0; x < 24; ++x)
            ASSERT_EQ(image.pixel(int(x), int(y)), colours[index(x, y)]) << x << "," << y;
}
