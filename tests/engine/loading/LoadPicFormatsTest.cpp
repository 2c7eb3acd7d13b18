#include "core/AppError.h"
#include "engine/jpeg2000/modJPEG2000.h"
#include "engine/loading/modBitmapPro.h"
#include "engine/loading/modFreeImage.h"
#include "platform/imagebox/FreeImageCodec.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/DamagedImageFiles.h"
#include "tests/common/TestSupport.h"

#include <FreeImage.h>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// The load entry on JPEG 2000 files, deep samples, JPEG decoding and the formats
// whose structure it checks, each against an outside decoder or the source pixels.
using namespace picbasket;

namespace {

constexpr OleColor White = 0xFFFFFF;

QImage gradient(int w, int h) {
    QImage image(w, h, QImage::Format_RGB888);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixelColor(x, y, QColor((x * 9) % 256, (y * 13) % 256, (x * y) % 256));
    return image;
}

// Photo-like pixels: smooth colour with some noise, so that DCT details show.
QImage photo(int w, int h) {
    QImage image(w, h, QImage::Format_RGB888);
    quint32 state = 99;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            const int n = int(state >> 28);
            image.setPixelColor(x, y, QColor((x * 3 + n) % 256, (y * 2 + n) % 256, (x + y) % 256));
        }
    return image;
}

QImage rgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_RGB888);
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool hasTool(const char* name) {
    return !QStandardPaths::findExecutable(name).isEmpty();
}

bool runTool(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// A portable map of 16-bit samples, big-endian as the format has them.
QByteArray deepPnm(const QImage& deep) {
    const bool grey = deep.format() == QImage::Format_Grayscale16;
    QByteArray bytes = QString("%1\n%2 %3\n65535\n")
                           .arg(grey ? "P5" : "P6")
                           .arg(deep.width())
                           .arg(deep.height())
                           .toLatin1();
    for (int y = 0; y < deep.height(); ++y) {
        const auto* row = reinterpret_cast<const quint16*>(deep.constScanLine(y));
        for (int x = 0; x < deep.width(); ++x)
            for (int c = 0; c < (grey ? 1 : 3); ++c) {
                const quint16 v = grey ? row[x] : row[x * 4 + c];
                bytes.append(char(v >> 8)).append(char(v & 0xFF));
            }
    }
    return bytes;
}

// Samples across the whole 16-bit range, a mid grey among them.
QImage deepImage(QImage::Format format) {
    QImage image(37, 9, format);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int v = (x * 1811 + y * 7001) % 65536;
            image.setPixelColor(
                x, y, QColor::fromRgba64(quint16(v), quint16(65535 - v), quint16((v * 3) % 65536)));
        }
    image.setPixelColor(0, 0, QColor::fromRgba64(32768, 32768, 32768));
    return image;
}

class LoadPicFormats : public ::testing::Test {
protected:
    QString path(const QString& name) const { return QDir(dir.path()).filePath(name); }
    QString write(const QString& name, const QByteArray& bytes) {
        QFile file(path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path(name);
    }
    QImage load(const QString& file, int32_t sizeMode = 0) {
        int32_t w = 0, h = 0;
        const bool original = sizeMode == 0;
        return LoadPic(file, sizeMode, original ? -1 : 64, original ? -1 : 48, White, w, h);
    }
    QTemporaryDir dir;
    test::ErrorRecorder errors;
    test::MessageRecorder messages;
};

} // namespace

// Our own outputs (JP2 and bare codestreams under every name the control knows,
// and a codestream named as no JPEG 2000 file) load through the load entry.
TEST_F(LoadPicFormats, Jpeg2000FilesWrittenByTheBatchLoad) {
    const QImage source = gradient(40, 30);
    const char* names[] = {"ours.jp2", "ours.j2k", "ours.jpc", "ours.j2c"};
    for (const char* name : names) {
        AxImage control;
        subSaveJPEG2000(control, source, path(name), 25);
        const QImage picture = load(path(name));
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_EQ(rgb(picture), source) << name;
        const QImage boxed = load(path(name), 2);
        EXPECT_EQ(boxed.size(), QSize(64, 48)) << name;
    }
    // Content decides when the name does not name a JPEG 2000 format.
    QFile::copy(path("ours.jpc"), path("codestream.jpg"));
    EXPECT_EQ(rgb(load(path("codestream.jpg"))), source);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(LoadPicFormats, Jpeg2000FilesWrittenByAnOutsideEncoderLoad) {
    if (!hasTool("grk_compress"))
        GTEST_SKIP() << "grk_compress is not installed";
    const QImage source = gradient(33, 21);
    ASSERT_TRUE(source.save(path("source.ppm"), "PPM"));
    for (const char* name : {"outside.jp2", "outside.j2k", "outside.jpc", "outside.j2c"}) {
        // grk_compress picks its container by extension and knows .j2k and .jp2.
        const QString suffix = QString(name).endsWith("jp2") ? "jp2" : "j2k";
        const QString written = path(QString("grk.") + suffix);
        ASSERT_TRUE(runTool("grk_compress", {"-i", path("source.ppm"), "-o", written})) << name;
        QFile::remove(path(name));
        ASSERT_TRUE(QFile::copy(written, path(name)));
        const QImage picture = load(path(name));
        ASSERT_FALSE(picture.isNull()) << name;
        EXPECT_EQ(rgb(picture), source) << name;
    }
}

// 16-bit samples reach 8 bits on a straight line, as Qt reduces them; a mid grey
// stays a mid grey. Portable maps take the FreeImage route, TIFF files the shared
// FreeImage load directly, PNG files GDI+.
TEST_F(LoadPicFormats, DeepSamplesAreReducedLinearly) {
    const QImage grey = deepImage(QImage::Format_Grayscale16);
    const QImage colour = deepImage(QImage::Format_RGBX64);
    const QImage greyOracle = grey.convertToFormat(QImage::Format_Grayscale8);
    const QImage colourOracle = rgb(colour);
    ASSERT_EQ(qGray(greyOracle.pixel(0, 0)), 128);
    struct Row {
        const char* name;
        QImage picture;
        QImage oracle;
    } rows[] = {
        {"grey pgm", load(write("grey.pgm", deepPnm(grey))), greyOracle},
        {"colour ppm", load(write("colour.ppm", deepPnm(colour))), colourOracle},
        {"grey png", load(grey.save(path("grey.png")) ? path("grey.png") : ""), greyOracle},
        {"colour png", load(colour.save(path("colour.png")) ? path("colour.png") : ""),
         colourOracle},
        {"grey tif",
         fncLoadPicture(write("grey.tif", imagebox::encodeWithFreeImage(grey, FIF_TIFF, 0))),
         greyOracle},
        {"colour tif",
         fncLoadPicture(write("colour.tif", imagebox::encodeWithFreeImage(colour, FIF_TIFF, 0))),
         colourOracle},
    };
    for (const Row& row : rows) {
        ASSERT_FALSE(row.picture.isNull()) << row.name;
        EXPECT_EQ(rgb(row.picture), rgb(row.oracle)) << row.name;
    }
    EXPECT_TRUE(errors.reports().empty());
}

// A 16-bit JPEG 2000 file as the batch writes it from a 16-bit source keeps its
// samples through the load entry, the same ones an outside decoder finds.
TEST_F(LoadPicFormats, DeepJpeg2000AgreesWithAnOutsideDecoder) {
    AxImage control;
    const QImage grey = deepImage(QImage::Format_Grayscale16);
    subSaveJPEG2000(control, grey, path("deep.jp2"), 25);
    const QImage picture = load(path("deep.jp2"));
    ASSERT_EQ(picture.format(), QImage::Format_Grayscale16);
    EXPECT_EQ(picture, grey);
    if (!hasTool("opj_decompress"))
        GTEST_SKIP() << "opj_decompress is not installed";
    ASSERT_TRUE(runTool("opj_decompress", {"-i", path("deep.jp2"), "-o", path("deep.pgm")}));
    EXPECT_EQ(readBytes(path("deep.pgm")).right(grey.width() * grey.height() * 2),
              deepPnm(grey).right(grey.width() * grey.height() * 2));
}

// FreeImage decodes JPEG with the accurate DCT and smooth upsampling: the image
// box (which feeds the batch) and the FreeImage route give what ImageMagick does.
TEST_F(LoadPicFormats, JpegDecodesAsOtherDecodersDo) {
    if (!hasTool("convert"))
        GTEST_SKIP() << "ImageMagick is not installed";
    ASSERT_TRUE(photo(96, 64).save(path("photo.jpg"), "JPEG", 75));
    ASSERT_TRUE(runTool("convert", {path("photo.jpg"), path("oracle.ppm")}));
    const QImage oracle = rgb(QImage(path("oracle.ppm")));
    ASSERT_FALSE(oracle.isNull());
    ImageBox box;
    box.LoadFromFile(path("photo.jpg"));
    EXPECT_EQ(rgb(box.image()), oracle);
    EXPECT_EQ(rgb(fncLoadPicture(path("photo.jpg"))), oracle);
    EXPECT_EQ(rgb(load(path("photo.jpg"))), oracle);
}

// TGA, icons, SGI images and portable maps pass their structure checks whole.
TEST_F(LoadPicFormats, CheckedFormatsLoadWhole) {
    const QImage source = gradient(24, 16);
    QByteArray sgi(512, '\0');
    sgi[0] = char(0x01), sgi[1] = char(0xDA), sgi[3] = 1, sgi[5] = 3, sgi[7] = 24, sgi[9] = 16,
    sgi[11] = 3;
    // Channel planes, rows bottom-up.
    for (int c = 0; c < 3; ++c)
        for (int y = source.height() - 1; y >= 0; --y)
            for (int x = 0; x < source.width(); ++x) {
                const QColor p = source.pixelColor(x, y);
                sgi.append(char(c == 0 ? p.red() : c == 1 ? p.green() : p.blue()));
            }
    const QImage square = gradient(32, 32);
    struct Row {
        const char* name;
        QByteArray bytes;
        QImage source;
    } rows[] = {
        {"plain.tga", imagebox::encodeWithFreeImage(source, FIF_TARGA, 0), source},
        {"runs.tga", imagebox::encodeWithFreeImage(source, FIF_TARGA, TARGA_SAVE_RLE), source},
        {"icon.ico", imagebox::encodeWithFreeImage(square, FIF_ICO, 0), square},
        {"plain.sgi", sgi, source},
        {"map.ppm", imagebox::encodeWithFreeImage(source, FIF_PPMRAW, 0), source},
        {"text.ppm", imagebox::encodeWithFreeImage(source, FIF_PPM, 0), source},
    };
    for (const Row& row : rows) {
        const QImage picture = load(write(row.name, row.bytes));
        ASSERT_FALSE(picture.isNull()) << row.name;
        EXPECT_EQ(rgb(picture), row.source) << row.name;
    }
    if (hasTool("convert")) {
        ASSERT_TRUE(source.save(path("source.ppm"), "PPM"));
        ASSERT_TRUE(runTool("convert", {path("source.ppm"), "-compress", "RLE", path("runs.sgi")}));
        EXPECT_EQ(rgb(load(path("runs.sgi"))), source);
    }
    EXPECT_TRUE(errors.reports().empty());
}

// A ".pic" file holding a PSD is decoded as the PSD its content is.
TEST_F(LoadPicFormats, ContentChoosesTheDecoder) {
    const QImage source = gradient(20, 12);
    const QString pic = write("layers.pic", imagebox::encodeWithFreeImage(source, FIF_PSD, 0));
    EXPECT_EQ(rgb(load(pic)), source);
}

// Damaged files, also run under the sanitizers.
class LoadPicFormatsCorrupt : public LoadPicFormats {};

// Cut copies of the formats the load entry reads must give nothing on every
// route: GDI+ (JPEG, GIF, BMP), FreeImage (TGA, PGM), in every size mode.
TEST_F(LoadPicFormatsCorrupt, CutFilesGiveNothing) {
    const QImage source = photo(64, 48);
    QImage indexed = source.convertToFormat(QImage::Format_Indexed8);
    ASSERT_TRUE(source.save(path("whole.jpg"), "JPEG", 90));
    const QImage grey = source.convertToFormat(QImage::Format_Grayscale8);
    struct Row {
        const char* extension;
        QByteArray whole;
    } rows[] = {
        {"jpg", readBytes(path("whole.jpg"))},
        {"tga", imagebox::encodeWithFreeImage(source, FIF_TARGA, 0)},
        {"tga", imagebox::encodeWithFreeImage(source, FIF_TARGA, TARGA_SAVE_RLE)},
        {"pgm", imagebox::encodeWithFreeImage(grey, FIF_PGMRAW, 0)},
        {"bmp", imagebox::encodeWithFreeImage(indexed, FIF_BMP, BMP_SAVE_RLE)},
        {"gif", imagebox::encodeWithFreeImage(indexed, FIF_GIF, 0)},
        {"ico", imagebox::encodeWithFreeImage(photo(32, 32), FIF_ICO, 0)},
    };
    int n = 0;
    for (const Row& row : rows) {
        ASSERT_FALSE(
            load(write(QString("whole%1.%2").arg(++n).arg(row.extension), row.whole)).isNull())
            << row.extension;
        for (int percent : {10, 50, 90}) {
            const QString name = QString("cut%1-%2.%3").arg(n).arg(percent).arg(row.extension);
            const QString file = write(name, row.whole.left(row.whole.size() * percent / 100));
            for (int32_t mode : {0, 1, 2})
                EXPECT_TRUE(load(file, mode).isNull()) << name.toStdString() << " mode " << mode;
        }
    }
    EXPECT_TRUE(errors.reports().empty());
}

// Every extension only DevIL reads: junk, an empty file and a cut header give
// nothing, and no DevIL reader without a check of ours ever sees the file.
TEST_F(LoadPicFormatsCorrupt, JunkInEveryDevILFormatGivesNothing) {
    const char* extensions[] = {"psp",  "pic", "pix", "pxr", "raw", "dcx", "lif",
                                "wal",  "mdl", "oil", "lmp", "sgi", "bw",  "rgb",
                                "rgba", "act", "pal", "pbm", "pgm", "ppm", "mng"};
    QByteArray sgiHeader(512, '\0');
    sgiHeader[0] = char(0x01), sgiHeader[1] = char(0xDA);
    const QByteArray contents[] = {
        QByteArray(),
        QByteArray(48, '\x7F'),
        QByteArray("\x8aMNG\r\n\x1a\n\0\0\0\x1cMHDR", 16),
        sgiHeader.left(100),
        QByteArray("# c\nP6\n300 300\n255\n", 19),
    };
    for (const char* extension : extensions) {
        int n = 0;
        for (const QByteArray& bytes : contents) {
            const QString file = write(QString("junk%1.%2").arg(++n).arg(extension), bytes);
            for (int32_t mode : {0, 2})
                EXPECT_TRUE(load(file, mode).isNull()) << extension << " " << n;
        }
    }
    EXPECT_TRUE(errors.reports().empty());
}

QStringList fuzzExtensions() {
    QFile file(test::testDataFolder() + "/../../fuzz/loadpic-extensions.txt");
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromLatin1(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// The files fuzzing found for the load entry (tests/data/fuzz/loadpic/, a route
// byte before the file: extension line x 3 + size mode), loaded the way they
// crashed, hung or ran out of memory.
TEST_F(LoadPicFormatsCorrupt, FuzzFindingsAreRefused) {
    const QStringList extensions = fuzzExtensions();
    ASSERT_FALSE(extensions.isEmpty());
    const QDir folder(test::testDataFolder() + "/fuzz/loadpic");
    const QStringList files = folder.entryList(QDir::Files, QDir::Name);
    EXPECT_GE(files.size(), 5);
    for (const QString& name : files) {
        const QByteArray bytes = readBytes(folder.filePath(name));
        ASSERT_FALSE(bytes.isEmpty()) << name.toStdString();
        const int route = uchar(bytes[0]);
        // The route byte picks the extension the file is named for.
        EXPECT_EQ(extensions[(route / 3) % extensions.size()], QFileInfo(name).suffix())
            << name.toStdString();
        const QString file = write(name, bytes.mid(1));
        EXPECT_TRUE(load(file, route % 3).isNull()) << name.toStdString();
    }
    EXPECT_TRUE(errors.reports().empty());
}

// The image box's findings (tests/data/fuzz/imagebox/, a format code before the
// file): EXIF blocks whose directories run past their ends. FreeImage never sees
// those blocks, so the pixels load or the box refuses the file; nothing crashes.
TEST_F(LoadPicFormatsCorrupt, ImageBoxFuzzFindingsNeverReachFreeImagesMetadataReader) {
    const QDir folder(test::testDataFolder() + "/fuzz/imagebox");
    const QStringList files = folder.entryList(QDir::Files, QDir::Name);
    EXPECT_GE(files.size(), 2);
    for (const QString& name : files) {
        const QByteArray bytes = readBytes(folder.filePath(name));
        ASSERT_FALSE(bytes.isEmpty());
        const QString file = write(name, bytes.mid(1));
        ImageBox box;
        try {
            box.LoadFromFile(file);
        } catch (const AppError& error) {
            EXPECT_EQ(error.number(), err::Unexpected) << name.toStdString();
        }
        load(file);
    }
}

// Sound RLE8 BMPs of several palettes, as ImageMagick writes them, load exactly
// through the load entry and through its FreeImage route, the one that takes a
// BMP when Qt's reader fails.
TEST_F(LoadPicFormats, Rle8BmpsLoadExactly) {
    if (!test::hasImageMagick())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const std::vector<test::MadeFile> files = test::makeRle8Bmps(dir.path());
    ASSERT_EQ(files.size(), 3u);
    for (const test::MadeFile& file : files) {
        const QString ppm = path(file.name + ".ppm");
        ASSERT_TRUE(test::runConvert({file.path, ppm}));
        const QImage expected = rgb(QImage(ppm));
        EXPECT_EQ(rgb(load(file.path)), expected) << file.name.toStdString();
        EXPECT_EQ(rgb(fncLoadPictureAs(file.path, FIF_BMP)), expected)
            << file.name.toStdString() << " through FreeImage's route";
    }
    EXPECT_TRUE(errors.reports().empty());
}

// An MNG and a JNG as ImageMagick writes them pass the chunk check and load.
TEST_F(LoadPicFormats, SoundMngAndJngLoad) {
    if (!test::hasImageMagick())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const QString base = test::writeBase(dir.path(), 61, 37);
    for (const char* name : {"sound.mng", "sound.jng"}) {
        ASSERT_TRUE(test::runConvert({base, path(name)})) << name;
        const QImage picture = load(path(name));
        EXPECT_EQ(picture.size(), QSize(61, 37)) << name;
    }
}

// Damage inside a file of intact length: junk in a GIF's LZW data, zeros in a
// Group 4 and a JPEG-compressed TIFF, junk in a JPEG's entropy data, a JPEG cut
// in its entropy data with its end marker put back. Nothing in every size mode,
// as for a cut file, and nothing reported: the folder list, the preview and the
// batch agree on what is damaged.
TEST_F(LoadPicFormatsCorrupt, DamageInsideTheDataGivesNothingInEverySizeMode) {
    if (!test::hasImageMagick())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const std::vector<test::MadeFile> files = test::makeInnerDamagedFiles(dir.path());
    ASSERT_EQ(files.size(), 5u);
    for (const char* whole : {"whole.gif", "whole-g4.tif", "whole-jpeg.tif", "whole.jpg"})
        for (int32_t mode : {0, 1, 2})
            EXPECT_FALSE(load(path(whole), mode).isNull()) << whole << " mode " << mode;
    for (const test::MadeFile& file : files)
        for (int32_t mode : {0, 1, 2})
            EXPECT_TRUE(load(file.path, mode).isNull())
                << file.name.toStdString() << " mode " << mode;
    EXPECT_TRUE(errors.reports().empty());
}

// The MNG findings (a bare signature that hung FreeImage's reader, a chunk that
// asked for 4 GiB) and damaged MNG and JNG chunk streams, named as what they are
// and as a BMP: nothing, in every size mode.
TEST_F(LoadPicFormatsCorrupt, DamagedMngAndJngGiveNothingUnderEitherName) {
    auto chunk = [](const char* type, const QByteArray& data, qint64 claimed = -1) {
        QByteArray out;
        const quint32 length = quint32(claimed < 0 ? data.size() : claimed);
        for (int shift = 24; shift >= 0; shift -= 8)
            out.append(char((length >> shift) & 0xFF));
        return out + type + data + QByteArray(4, '\0');
    };
    const QByteArray mng("\x8AMNG\r\n\x1A\n", 8), jng("\x8BJNG\r\n\x1A\n", 8);
    QByteArray mhdr(28, '\0');
    mhdr[3] = 8, mhdr[7] = 8;
    QByteArray ihdr(13, '\0');
    ihdr[3] = 8, ihdr[7] = 8, ihdr[8] = 8;
    QByteArray hugeFrame = mhdr;
    hugeFrame[0] = char(0x7F);
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"signature only", mng},
        {"4 GiB chunk", mng + chunk("MHDR", mhdr) + chunk("IHDR", ihdr, 0xFFFFFFF0)},
        {"frame past the size limit", mng + chunk("MHDR", hugeFrame) + chunk("MEND", {})},
        {"no image", mng + chunk("MHDR", mhdr) + chunk("MEND", {})},
        {"image without data",
         mng + chunk("MHDR", mhdr) + chunk("IHDR", ihdr) + chunk("IEND", {}) + chunk("MEND", {})},
        {"no end", mng + chunk("MHDR", mhdr) + chunk("IHDR", ihdr)},
        {"JNG signature only", jng},
        {"JNG header too short", jng + chunk("JHDR", QByteArray(4, '\0'))},
    };
    const QDir findings(test::testDataFolder() + "/fuzz/loadpic");
    std::vector<std::pair<std::string, QByteArray>> files;
    for (const auto& c : cases)
        files.emplace_back(c.what, c.bytes);
    for (const char* finding : {"mng-signature-only-hang.mng", "mng-4gib-chunk-allocation.bmp"})
        files.emplace_back(finding, readBytes(findings.filePath(finding)).mid(1));
    for (const auto& [what, bytes] : files)
        for (const char* extension : {"mng", "bmp", "jng"}) {
            const QString file = write(QString("damaged.") + extension, bytes);
            for (int32_t mode : {0, 1, 2})
                EXPECT_TRUE(load(file, mode).isNull()) << what << " ." << extension << " " << mode;
        }
    EXPECT_TRUE(errors.reports().empty());
}

// A format no check of ours covers is never handed to a decoder: an XPM, whose
// reader trusts its colour count, gives nothing under its own name and a PNG's.
TEST_F(LoadPicFormatsCorrupt, FormatsWithoutACheckGiveNothing) {
    const QByteArray xpm = "/* XPM */\nstatic char *x[] = {\n\"2 2 2 1\",\n\". c #000000\",\n"
                           "\"# c #FFFFFF\",\n\".#\",\n\"#.\"};\n";
    for (const char* name : {"icon.xpm", "icon.png"})
        for (int32_t mode : {0, 2})
            EXPECT_TRUE(load(write(name, xpm), mode).isNull()) << name << " " << mode;
    EXPECT_TRUE(errors.reports().empty());
}

// The resident memory a child process reached while running body, beyond what
// it held when body started, in bytes; -1 when the child failed or ran out of
// time.
qint64 peakMemoryOf(const std::function<bool()>& body) {
    const auto residentNow = [] {
        QFile statm(QStringLiteral("/proc/self/statm"));
        if (!statm.open(QIODevice::ReadOnly))
            return qint64(-1);
        return statm.readAll().split(' ').value(1).toLongLong() * sysconf(_SC_PAGESIZE);
    };
    int channel[2];
    if (pipe(channel) != 0)
        return -1;
    const pid_t child = fork();
    if (child == 0) {
        alarm(120);
        const qint64 before = residentNow();
        const bool done = body();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const qint64 grown = done && before >= 0 ? qint64(usage.ru_maxrss) * 1024 - before : -1;
        _exit(write(channel[1], &grown, sizeof grown) == sizeof grown ? 0 : 1);
    }
    close(channel[1]);
    qint64 grown = -1;
    if (child < 0 || read(channel[0], &grown, sizeof grown) != sizeof grown)
        grown = -1;
    close(channel[0]);
    int status = 0;
    if (child > 0 && (waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
                      WEXITSTATUS(status) != 0))
        grown = -1;
    return grown;
}

// The three 353-byte JPEG 2000 files that claimed 131,088 and 525,580 pixels a
// side and 2032 x 65527 pixels of 16 bits (3.6 GB resident) are refused by
// their headers in every size mode, and no load comes near that memory: the
// first two pass the one image limit, the third lacks 126 of its 127 tiles.
TEST_F(LoadPicFormatsCorrupt, OversizedJpeg2000HeadersAreRefusedWithLittleMemory) {
    const QDir folder(test::testDataFolder() + "/fuzz/loadpic");
    const QStringList names = {"jp2-131088-wide.jp2", "jp2-525580-high.jp2",
                               "jp2-2032x65527-claims-2-6gb.jp2"};
    for (const QString& name : names) {
        const QByteArray bytes = readBytes(folder.filePath(name));
        ASSERT_EQ(bytes.size(), 354) << name.toStdString();
        const QString file = write(name, bytes.mid(1));
        for (int32_t mode : {0, 1, 2})
            EXPECT_TRUE(load(file, mode).isNull()) << name.toStdString() << " mode " << mode;
        const qint64 peak = peakMemoryOf([&] {
            for (int32_t mode : {0, 1, 2})
                if (!load(file, mode).isNull())
                    return false;
            return true;
        });
        EXPECT_GE(peak, 0) << name.toStdString();
        EXPECT_LT(peak, qint64(64) << 20) << name.toStdString();
        std::printf("%s: peak %.1f MiB above the start\n", qPrintable(name),
                    double(peak) / (1 << 20));
    }
    EXPECT_TRUE(errors.reports().empty());
}

// The IPTC date encoder writes four digits of year: a year it cannot write is
// refused when it is set, and the saved file keeps the date it had.
TEST(IptcDateCorrupt, YearsPast9999AreRefusedWhenSet) {
    QTemporaryDir dir;
    ImageBox box;
    box.setImage(gradient(8, 8));
    box.setIptcDateCreated(QDateTime(QDate(2024, 5, 6), QTime(0, 0)));
    for (int year : {10000, 12345, -5}) {
        try {
            box.setIptcDateCreated(QDateTime(QDate(year, 1, 2), QTime(0, 0)));
            ADD_FAILURE() << year << " was accepted";
        } catch (const AppError& error) {
            EXPECT_EQ(error.number(), err::InvalidProcedureCall) << year;
        }
    }
    box.setIptcDateReleased(QDateTime(QDate(9999, 12, 31), QTime(0, 0)));
    const QString file = QDir(dir.path()).filePath("dated.jpg");
    box.SaveToFile(file);
    ImageBox reader;
    reader.LoadFromFile(file);
    EXPECT_EQ(reader.IptcDateCreated().date(), QDate(2024, 5, 6));
    EXPECT_EQ(reader.IptcDateReleased().date(), QDate(9999, 12, 31));
}
