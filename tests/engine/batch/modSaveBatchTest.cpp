#include "engine/batch/modSaveBatch.h"
#include "core/AppError.h"
#include "core/Globals.h"
#include "core/setup/modSetup.h"
#include "engine/batch/BatchMemoryBudget.h"
#include "engine/batch/UnreadableRows.h"
#include "engine/jpeg2000/modJPEG2000.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/DamagedImageFiles.h"
#include "tests/common/TestSupport.h"
#include "tests/platform/metadata/CameraFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace picbasket;

namespace {

// Records what the batch does with its progress bar, and can run an action when
// the bar reaches a value (as a user clicking Cancel while that row's events run).
class RecordingBar : public ProgressIndicator {
public:
    void setMaximum(int maximum) override { calls << QStringLiteral("max %1").arg(maximum); }
    void setValue(int value) override {
        calls << QStringLiteral("value %1").arg(value);
        if (value == triggerValue && onValue)
            onValue();
    }
    void setVisible(bool visible) override {
        calls << QString::fromLatin1(visible ? "shown" : "hidden");
    }
    QStringList calls;
    int triggerValue = -1;
    std::function<void()> onValue;
};

QImage gradient(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, QColor((x * 7) % 256, (y * 11) % 256, (x + y) % 256));
    return image;
}

// An uncompressed 24-bit TGA, a format only the loading entry reads.
void writeTga(const QString& path, const QImage& image) {
    QByteArray bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = char(image.width() & 0xFF);
    bytes[13] = char(image.width() >> 8);
    bytes[14] = char(image.height() & 0xFF);
    bytes[15] = char(image.height() >> 8);
    bytes[16] = 24;
    bytes[17] = 0x20; // top-left origin
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            bytes.append(char(c.blue())).append(char(c.green())).append(char(c.red()));
        }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Pixels no coder can predict, so that a lossy rate has something to drop.
QImage noise(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    quint32 state = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width * 3; ++x) {
            state = state * 1664525u + 1013904223u;
            image.scanLine(y)[x] = uchar(state >> 24);
        }
    return image;
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage decode(const QString& path) {
    AxImage control;
    return fncLoadJPEG2000(control, 0, path, QFileInfo(path).suffix().toLower())
        .convertToFormat(QImage::Format_RGB888);
}

class BatchConversion : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = picbasket::Setup.BatchSave;
        typBatchSave& o = picbasket::Setup.BatchSave;
        o = typBatchSave{};
        o.Lossy = 0;
        o.DestinationMode = 1;
        o.DestinationFolder = out_.path();
        o.ProcessTasks = 0;
        CancelOperation = false;
    }
    void TearDown() override {
        picbasket::Setup.BatchSave = saved_;
        CancelOperation = false;
    }

    // A basket row for a source file written into the source folder.
    BasketRow addPng(const QString& name, const QImage& image) {
        const QString path = QDir(in_.path()).filePath(name + ".png");
        EXPECT_TRUE(image.save(path));
        return rowFor(name, path);
    }
    BasketRow rowFor(const QString& name, const QString& path) {
        BasketRow row;
        row.Text = name;
        row.Tag = path;
        row.setSubItem(4, path);
        rows_.addRow(row);
        return row;
    }
    // A row for a source file the image box writes in the format of its extension.
    QString addBoxFile(const QString& name, const QString& fileName, const QImage& image) {
        ImageBox writer;
        writer.setImage(image);
        const QString path = QDir(in_.path()).filePath(fileName);
        writer.SaveToFile(path);
        rowFor(name, path);
        return path;
    }
    // A row for an 8 x 8 JPEG carrying one EXIF attribute.
    void addJpegWithExif(const QString& name, const QString& attribute, const QString& value) {
        ImageBox writer;
        writer.setImage(gradient(8, 8));
        ASSERT_TRUE(writer.SetExifAttribute(attribute, value));
        const QString jpeg = QDir(in_.path()).filePath(name + ".jpg");
        writer.SaveToFile(jpeg);
        rowFor(name, jpeg);
    }
    // Hybrid names: the prefix token, "-", the row's name.
    static void nameByPrefix(const QString& prefix) {
        typBatchSave& o = picbasket::Setup.BatchSave;
        o.NameMode = 1;
        o.Prefix = prefix;
        o.Separator1 = "-";
        o.Separator2 = "[No Separator]";
        o.Suffix = "[No Prefix]";
    }
    bool run() { return fncSaveSinglePage(rows_, tasks_, box_, bar_); }
    QString out(const QString& name) const { return QDir(out_.path()).filePath(name); }
    QStringList written() const {
        return QDir(out_.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    QTemporaryDir in_, out_;
    BasketRows rows_;
    TaskRowList tasks_;
    ImageBox box_;
    RecordingBar bar_;
    test::ErrorRecorder errors_;
    test::MessageRecorder messages_;
    typBatchSave saved_;
};

} // namespace

TEST(BatchCounter, StartsAndTypedNumbersIn32Bits) {
    const struct {
        const char* counter;
        int row;
        int32_t expected;
    } cases[] = {{"[Starting 1]", 1, 1},
                 {"[Starting 1]", 3, 3},
                 {"[Starting 1001]", 1, 1001},
                 {"[Starting 1001]", 3, 1003},
                 {"5", 1, 5},
                 {"5", 3, 7},
                 {"32767", 2, 32768}, // a 16-bit counter would overflow here
                 {"-3", 1, -3}};
    for (const auto& c : cases)
        EXPECT_EQ(fncBatchCounter(QString::fromLatin1(c.counter), c.row), c.expected)
            << c.counter << " row " << c.row;
    try {
        fncBatchCounter("2147483647", 2);
        ADD_FAILURE() << "no overflow";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::Overflow);
    }
    try {
        fncBatchCounter("five", 1);
        ADD_FAILURE() << "no type mismatch";
    } catch (const AppError& e) {
        EXPECT_EQ(e.number(), err::TypeMismatch);
    }
}

TEST_F(BatchConversion, EmptyBasketIsDoneWithoutTouchingTheBar) {
    EXPECT_TRUE(run());
    EXPECT_TRUE(bar_.calls.isEmpty());
}

TEST_F(BatchConversion, LosslessOutputDecodesToTheSourcePixels) {
    const QImage image = gradient(37, 23);
    addPng("alpha", image);
    EXPECT_TRUE(run());
    EXPECT_EQ(written(), QStringList{"alpha.jp2"});
    EXPECT_EQ(decode(out("alpha.jp2")), image);
    EXPECT_EQ(bar_.calls, (QStringList{"max 1", "value 0", "shown", "value 1", "hidden"}));
    EXPECT_TRUE(errors_.reports().empty());
}

TEST_F(BatchConversion, LossyRateGivesASmallerCodestream) {
    picbasket::Setup.BatchSave.Codestream = 1;
    addPng("big", noise(160, 120));
    ASSERT_TRUE(run());
    const qint64 lossless = QFileInfo(out("big.jpc")).size();
    picbasket::Setup.BatchSave.Lossy = 1;
    picbasket::Setup.BatchSave.Rate = 20;
    ASSERT_TRUE(run());
    const qint64 lossy = QFileInfo(out("big.jpc")).size();
    EXPECT_GT(lossless, 0);
    EXPECT_LT(lossy, lossless);
    EXPECT_EQ(decode(out("big.jpc")).size(), QSize(160, 120));
}

TEST_F(BatchConversion, GenericNamesFollowTheCounter) {
    const struct {
        const char* counter;
        QStringList expected;
    } cases[] = {{"5", {"Sample5.jp2", "Sample6.jp2", "Sample7.jp2"}},
                 {"[Starting 1001]", {"Sample1001.jp2", "Sample1002.jp2", "Sample1003.jp2"}},
                 {"40000", {"Sample40000.jp2", "Sample40001.jp2", "Sample40002.jp2"}}};
    for (const char* name : {"a", "b", "c"})
        addPng(name, gradient(8, 8));
    picbasket::Setup.BatchSave.NameMode = 2;
    for (const auto& c : cases) {
        for (const QString& f : written())
            QFile::remove(out(f));
        picbasket::Setup.BatchSave.Counter = QString::fromLatin1(c.counter);
        EXPECT_TRUE(run()) << c.counter;
        EXPECT_EQ(written(), c.expected) << c.counter;
    }
}

TEST_F(BatchConversion, ExistingTargetWithoutOverwriteIsSkippedSilently) {
    for (const char* name : {"a", "b", "c"})
        addPng(name, gradient(8, 8));
    picbasket::Setup.BatchSave.NameMode = 2;
    picbasket::Setup.BatchSave.Overwrite = 0;
    QFile kept(out("Sample2.jp2"));
    ASSERT_TRUE(kept.open(QIODevice::WriteOnly));
    kept.write("keep me");
    kept.close();
    EXPECT_TRUE(run());
    EXPECT_EQ(written(), (QStringList{"Sample1.jp2", "Sample2.jp2", "Sample3.jp2"}));
    QFile check(out("Sample2.jp2"));
    ASSERT_TRUE(check.open(QIODevice::ReadOnly));
    EXPECT_EQ(check.readAll(), QByteArray("keep me"));
    EXPECT_TRUE(errors_.reports().empty());

    picbasket::Setup.BatchSave.Overwrite = 1;
    EXPECT_TRUE(run());
    EXPECT_EQ(decode(out("Sample2.jp2")).size(), QSize(8, 8));
}

TEST_F(BatchConversion, HybridNamesFromTokensAfterTheTasks) {
    const QImage image = gradient(30, 20);
    addPng("photo", image);
    typBatchSave& o = picbasket::Setup.BatchSave;
    o.NameMode = 1;
    o.Prefix = "[No Prefix]";
    o.Separator1 = "_";
    o.Separator2 = "[WhiteSpace]";
    o.Suffix = "[Resulting resolution]";
    o.ProcessTasks = 1;
    TaskRow invert;
    invert.Text = "11";
    invert.Tag = "invert";
    tasks_.addRow(invert);
    EXPECT_TRUE(run());
    ASSERT_EQ(written(), QStringList{"_photo 30x20.jp2"});
    QImage inverted = image;
    inverted.invertPixels();
    EXPECT_EQ(decode(out("_photo 30x20.jp2")), inverted);
}

TEST_F(BatchConversion, EachLoaderReadsItsFormatsAndUnreadableRowsAreSkipped) {
    const QImage image = gradient(12, 9);
    addBoxFile("pcx", "p.pcx", image);
    const QString tga = QDir(in_.path()).filePath("t.tga");
    writeTga(tga, image);
    rowFor("tga", tga);
    const QString junk = QDir(in_.path()).filePath("junk.bmp");
    QFile file(junk);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not an image at all");
    file.close();
    rowFor("junk", junk);

    EXPECT_TRUE(run());
    EXPECT_EQ(written(), (QStringList{"pcx.jp2", "tga.jp2"}));
    for (const char* name : {"pcx.jp2", "tga.jp2"})
        EXPECT_EQ(decode(out(name)), image) << name;
    EXPECT_TRUE(errors_.reports().empty());
}

TEST_F(BatchConversion, CancelAfterRowTwoStopsBeforeRowThree) {
    for (const char* name : {"a", "b", "c", "d"})
        addPng(name, gradient(8, 8));
    // The click arrives as an event, delivered while the batch lets events run.
    bar_.triggerValue = 2;
    bar_.onValue = [] { QTimer::singleShot(0, [] { CancelOperation = true; }); };
    EXPECT_TRUE(run());
    EXPECT_EQ(written(), (QStringList{"a.jp2", "b.jp2"}));
    EXPECT_FALSE(CancelOperation);
    EXPECT_EQ(bar_.calls.last(), "hidden");
}

TEST_F(BatchConversion, SourceFolderModePutsSplitPagesBesideTheirSourceFile) {
    QTemporaryDir pages;
    const QString page = QDir(pages.path()).filePath("page1.tif");
    ImageBox writer;
    writer.setImage(gradient(10, 10));
    writer.SaveToFile(page);
    BasketRow row;
    row.Text = "scan page 1";
    row.Tag = page;
    row.setSubItem(4, QDir(in_.path()).filePath("scan.tif"));
    rows_.addRow(row);
    addPng("plain", gradient(6, 6));
    picbasket::Setup.BatchSave.DestinationMode = 0;
    EXPECT_TRUE(run());
    EXPECT_TRUE(QFileInfo::exists(QDir(in_.path()).filePath("scan page 1.jp2")));
    EXPECT_TRUE(QFileInfo::exists(QDir(in_.path()).filePath("plain.jp2")));
    EXPECT_EQ(QDir(pages.path()).entryList(QDir::Files), QStringList{"page1.tif"});
}

TEST_F(BatchConversion, MetadataOfOneRowNeverNamesTheNext) {
    addJpegWithExif("cam", "Make", "Canon");
    const QString tga = QDir(in_.path()).filePath("plain.tga");
    writeTga(tga, gradient(8, 8));
    rowFor("plain", tga);
    nameByPrefix("[EXIF Make]");
    EXPECT_TRUE(run());
    EXPECT_EQ(written(), (QStringList{"-plain.jp2", "Canon-cam.jp2"}));
}

TEST_F(BatchConversion, FailedWriteIsAnErrorAndLeavesNoFile) {
    addPng("a", gradient(8, 8));
    addPng("b", gradient(8, 8));
    picbasket::Setup.BatchSave.DestinationFolder = out("missing/deeper");
    EXPECT_FALSE(run());
    ASSERT_EQ(errors_.reports().size(), 1u);
    EXPECT_EQ(errors_.reports()[0].source, "fncSaveSinglePage");
    EXPECT_EQ(bar_.calls.last(), "hidden");
    EXPECT_TRUE(written().isEmpty());
}

TEST_F(BatchConversion, BlankDestinationFolderIsRefused) {
    addPng("a", gradient(8, 8));
    picbasket::Setup.BatchSave.DestinationFolder = "   ";
    const QString cwd = QDir::currentPath();
    EXPECT_FALSE(run());
    EXPECT_EQ(errors_.reports().size(), 1u);
    EXPECT_FALSE(QFileInfo::exists(QDir(cwd).filePath("a.jp2")));
}

TEST_F(BatchConversion, ASecondRunStartedFromTheEventsOfTheFirstIsRefused) {
    addPng("a", gradient(8, 8));
    addPng("b", gradient(8, 8));
    bool nested = true;
    bar_.triggerValue = 1;
    bar_.onValue = [&] {
        RecordingBar other;
        nested = fncSaveSinglePage(rows_, tasks_, box_, other);
    };
    EXPECT_TRUE(run());
    EXPECT_FALSE(nested);
    ASSERT_EQ(errors_.reports().size(), 1u);
    EXPECT_EQ(errors_.reports()[0].source, "fncSaveSinglePage");
    EXPECT_EQ(written(), (QStringList{"a.jp2", "b.jp2"}));
}

TEST_F(BatchConversion, BothContainersDecodeExactlyInAnOutsideDecoder) {
    const QString tool = QStandardPaths::findExecutable("grk_decompress");
    if (tool.isEmpty())
        GTEST_SKIP() << "grk_decompress is not installed";
    const QImage image = gradient(33, 17);
    addPng("outside", image);
    for (uint8_t codestream : {uint8_t(0), uint8_t(1)}) {
        picbasket::Setup.BatchSave.Codestream = codestream;
        ASSERT_TRUE(run());
        const QString encoded = out(codestream ? "outside.jpc" : "outside.jp2");
        const QString decoded = out("decoded.ppm");
        QProcess p;
        p.start(tool, {"-i", encoded, "-o", decoded});
        ASSERT_TRUE(p.waitForFinished(60000));
        ASSERT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
        EXPECT_EQ(QImage(decoded).convertToFormat(QImage::Format_RGB888), image)
            << qPrintable(encoded);
        QFile::remove(decoded);
    }
}

TEST_F(BatchConversion, FileTheImageBoxRefusesGoesOnToTheLoadingEntry) {
    // A lossless WebP file under a ".png" name: the image box fails on it with its
    // unexpected failure, and the loading entry reads it by its content.
    const QImage image = gradient(16, 12);
    const QString disguised = QDir(in_.path()).filePath("webp.png");
    if (!image.save(disguised, "WEBP", 100))
        GTEST_SKIP() << "no WebP writer";
    ImageBox probe;
    try {
        probe.LoadFromFile(disguised);
        GTEST_SKIP() << "the image box reads this file itself";
    } catch (const AppError& e) {
        ASSERT_EQ(e.number(), err::Unexpected);
    }
    rowFor("disguised", disguised);
    EXPECT_TRUE(run());
    ASSERT_EQ(written(), QStringList{"disguised.jp2"});
    EXPECT_EQ(decode(out("disguised.jp2")), image);
}

// Rows whose files are damaged or no images at all; the suite also runs in the
// sanitizer build.
class BatchCorruptRows : public BatchConversion {};

TEST_F(BatchCorruptRows, DamagedAndJunkFilesGiveNoOutputAndOneClosingMessage) {
    const QString folder = in_.path();
    for (const char* name : {"beach", "dunes", "harbour"})
        ASSERT_TRUE(noise(64, 48).save(QDir(folder).filePath(QString(name) + ".jpg"), "JPEG", 90));
    QByteArray whole = readBytes(QDir(folder).filePath("beach.jpg"));
    writeBytes(QDir(folder).filePath("cut.jpg"), whole.left(whole.size() / 2));
    writeBytes(QDir(folder).filePath("junk.jpg"), "this is a shopping list, not a photo");
    for (const QString& file : QDir(folder).entryList(QDir::Files, QDir::Name))
        rowFor(QFileInfo(file).completeBaseName(), QDir(folder).filePath(file));

    EXPECT_TRUE(run());
    EXPECT_EQ(written(), (QStringList{"beach.jp2", "dunes.jp2", "harbour.jp2"}));
    for (const char* name : {"beach", "dunes", "harbour"}) {
        const QImage source(QDir(folder).filePath(QString(name) + ".jpg"));
        EXPECT_EQ(decode(out(QString(name) + ".jp2")).size(), source.size()) << name;
    }
    ASSERT_EQ(messages_.shown().size(), 1u);
    const QString text = messages_.shown()[0].text;
    EXPECT_TRUE(text.contains("cut: ")) << qPrintable(text);
    EXPECT_TRUE(text.contains("junk: ")) << qPrintable(text);
    for (const char* name : {"beach", "dunes", "harbour"})
        EXPECT_FALSE(text.contains(QString(name) + ":")) << name;
    EXPECT_EQ(bar_.calls.last(), "hidden");
    EXPECT_TRUE(errors_.reports().empty());
}

TEST_F(BatchCorruptRows, CutCopiesOfImageBoxFormatsAreNeverConverted) {
    ImageBox writer;
    writer.setImage(noise(48, 40));
    QTemporaryDir wholeFiles;
    for (const char* extension : {"jpg", "png", "gif", "bmp"}) {
        const QString wholeFile = QDir(wholeFiles.path()).filePath(QString("whole.") + extension);
        writer.SaveToFile(wholeFile);
        const QByteArray whole = readBytes(wholeFile);
        ASSERT_GT(whole.size(), 100) << extension;
        for (int percent : {10, 50, 90}) {
            const QString name = QStringLiteral("%1-%2").arg(extension).arg(percent);
            const QString path = QDir(in_.path()).filePath(name + "." + extension);
            writeBytes(path, whole.left(whole.size() * percent / 100));
            rowFor(name, path);
        }
    }
    EXPECT_TRUE(run());
    EXPECT_EQ(written(), QStringList());
    ASSERT_EQ(messages_.shown().size(), 1u);
    EXPECT_EQ(messages_.shown()[0].text.count("\r\n"), 12) << qPrintable(messages_.shown()[0].text);
}

// A folder of sound RLE8 BMPs (which FreeImage fails on), files damaged inside
// at intact length and an ordinary photo: every sound file converts exactly
// (ImageMagick's decode is the oracle), every damaged one is listed at the end.
TEST_F(BatchCorruptRows, SoundRle8BmpsConvertAndInnerDamageIsListed) {
    if (!test::hasImageMagick())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    QTemporaryDir made;
    std::vector<test::MadeFile> sound = test::makeRle8Bmps(made.path());
    const std::vector<test::MadeFile> damaged = test::makeInnerDamagedFiles(made.path());
    ASSERT_EQ(sound.size(), 3u);
    ASSERT_EQ(damaged.size(), 5u);
    sound.push_back({"photo.png", addPng("photo", gradient(30, 20)).Tag});
    for (std::size_t i = 0; i < 3; ++i)
        rowFor(QFileInfo(sound[i].name).completeBaseName(), sound[i].path);
    for (const test::MadeFile& file : damaged)
        rowFor(QFileInfo(file.name).completeBaseName(), file.path);

    EXPECT_TRUE(run());
    EXPECT_EQ(written(), (QStringList{"photo.jp2", "rle8-16.jp2", "rle8-200.jp2", "rle8-256.jp2"}));
    for (const test::MadeFile& file : sound) {
        const QString ppm = QDir(made.path()).filePath(file.name + ".ppm");
        ASSERT_TRUE(test::runConvert({file.path, ppm}));
        const QString target = out(QFileInfo(file.name).completeBaseName() + ".jp2");
        EXPECT_EQ(decode(target), QImage(ppm).convertToFormat(QImage::Format_RGB888))
            << file.name.toStdString();
    }
    ASSERT_EQ(messages_.shown().size(), 1u);
    const QString text = messages_.shown()[0].text;
    for (const test::MadeFile& file : damaged)
        EXPECT_TRUE(text.contains(QFileInfo(file.name).completeBaseName() + ": "))
            << file.name.toStdString() << "\n"
            << qPrintable(text);
    EXPECT_FALSE(text.contains("rle8")) << qPrintable(text);
    EXPECT_TRUE(errors_.reports().empty());
}

// Formats only the loading entry reads: the cut copies are listed, not converted.
TEST_F(BatchCorruptRows, CutCopiesOfLoadingEntryFormatsAreNeverConverted) {
    QTemporaryDir wholeFiles;
    const QString tga = QDir(wholeFiles.path()).filePath("whole.tga");
    writeTga(tga, noise(40, 30));
    QByteArray pgm = "P5\n40 30\n255\n";
    pgm.append(QByteArray(40 * 30, char(77)));
    const QByteArray wholes[] = {readBytes(tga), pgm};
    const char* extensions[] = {"tga", "pgm"};
    for (int i = 0; i < 2; ++i) {
        const QString whole = QDir(in_.path()).filePath(QString("whole.") + extensions[i]);
        writeBytes(whole, wholes[i]);
        rowFor(QString("whole-") + extensions[i], whole);
        for (int percent : {10, 50, 90}) {
            const QString name = QStringLiteral("%1-%2").arg(extensions[i]).arg(percent);
            const QString path = QDir(in_.path()).filePath(name + "." + extensions[i]);
            writeBytes(path, wholes[i].left(wholes[i].size() * percent / 100));
            rowFor(name, path);
        }
    }
    EXPECT_TRUE(run());
    EXPECT_EQ(written(), (QStringList{"whole-pgm.jp2", "whole-tga.jp2"}));
    ASSERT_EQ(messages_.shown().size(), 1u);
    const QString text = messages_.shown()[0].text;
    for (const char* name : {"tga-10", "tga-50", "tga-90", "pgm-10", "pgm-50", "pgm-90"})
        EXPECT_TRUE(text.contains(QString(name) + ": ")) << name << qPrintable(text);
    EXPECT_TRUE(errors_.reports().empty());
}

TEST_F(BatchConversion, WbmpRowsAreConverted) {
    const QString wbmp = addBoxFile("mono", "mono.wbmp", gradient(19, 7));
    ImageBox reader;
    reader.LoadFromFile(wbmp);
    EXPECT_TRUE(run());
    ASSERT_EQ(written(), QStringList{"mono.jp2"});
    EXPECT_EQ(decode(out("mono.jp2")), reader.image().convertToFormat(QImage::Format_RGB888));
    EXPECT_TRUE(messages_.shown().empty());
}

TEST_F(BatchConversion, SameNameRowsOfOneRunGetNumberedNames) {
    const QImage first = gradient(10, 8), second = noise(10, 8), third = gradient(5, 5);
    addBoxFile("photo", "photo.bmp", first);
    const QString png = QDir(in_.path()).filePath("photo.png");
    ASSERT_TRUE(second.save(png));
    rowFor("photo", png);
    QTemporaryDir other;
    const QString again = QDir(other.path()).filePath("photo.png");
    ASSERT_TRUE(third.save(again));
    rowFor("photo", again);

    for (uint8_t overwrite : {uint8_t(0), uint8_t(1)}) {
        for (const QString& f : written())
            QFile::remove(out(f));
        picbasket::Setup.BatchSave.Overwrite = overwrite;
        EXPECT_TRUE(run());
        ASSERT_EQ(written(), (QStringList{"photo.jp2", "photo_2.jp2", "photo_3.jp2"}));
        EXPECT_EQ(decode(out("photo.jp2")), first);
        EXPECT_EQ(decode(out("photo_2.jp2")), second);
        EXPECT_EQ(decode(out("photo_3.jp2")), third);
    }
}

TEST_F(BatchConversion, TargetsFromBeforeTheRunKeepTheOverwriteRule) {
    addPng("photo", gradient(8, 8));
    addPng("photo", gradient(8, 8));
    writeBytes(out("photo.jp2"), "older file");
    picbasket::Setup.BatchSave.Overwrite = 0;
    EXPECT_TRUE(run());
    // Both rows target the file from before the run, which is kept.
    EXPECT_EQ(written(), QStringList{"photo.jp2"});
    EXPECT_EQ(readBytes(out("photo.jp2")), QByteArray("older file"));

    picbasket::Setup.BatchSave.Overwrite = 1;
    EXPECT_TRUE(run());
    EXPECT_EQ(written(), (QStringList{"photo.jp2", "photo_2.jp2"}));
    EXPECT_EQ(decode(out("photo.jp2")).size(), QSize(8, 8));
}

TEST_F(BatchConversion, PaddedExifTextsNameThePhotoWithoutTheirPadding) {
    ImageBox writer;
    writer.setImage(gradient(8, 8));
    ASSERT_TRUE(writer.SetExifAttribute("Make", "PENTAX Corporation "));
    ASSERT_TRUE(writer.SetExifAttribute("Model", "PENTAX K10D        " + QString(2, QChar(0))));
    const QString jpeg = QDir(in_.path()).filePath("camera.jpg");
    writer.SaveToFile(jpeg);
    rowFor("imgp0042", jpeg);
    // The padding is in the file, as a camera writes it.
    ASSERT_TRUE(readBytes(jpeg).contains(QByteArray("PENTAX K10D        \0", 20)));
    nameByPrefix("[EXIF Make & Model]");
    EXPECT_TRUE(run());
    EXPECT_EQ(written(), QStringList{"PENTAX Corporation-PENTAX K10D-imgp0042.jp2"});
}

TEST_F(BatchConversion, UnknownExifDateNamesThePhotoWithoutADate) {
    addJpegWithExif("unset", "DateTimeOriginal", "0000:00:00 00:00:00");
    nameByPrefix("[EXIF Date]");
    EXPECT_TRUE(run());
    EXPECT_EQ(written(), QStringList{"-unset.jp2"});
    EXPECT_TRUE(errors_.reports().empty());
}

namespace {

// The pixels of a JPEG 2000 file as an outside decoder reads them (our own decoder
// when none is installed).
QImage decodeOutside(const QString& path) {
    const QString tool = QStandardPaths::findExecutable("grk_decompress");
    if (tool.isEmpty())
        return decode(path);
    QTemporaryDir dir;
    const QString decoded = QDir(dir.path()).filePath("decoded.ppm");
    QProcess p;
    p.start(tool, {"-i", path, "-o", decoded});
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return {};
    return QImage(decoded).convertToFormat(QImage::Format_RGB888);
}

} // namespace

TEST_F(BatchConversion, LongNamesAreConvertedAndNamesPastTheLimitAreListed) {
    const QString longest(251, QLatin1Char('b')); // "b...b.jp2" is 255 bytes
    const struct {
        QString name;
        bool converted;
    } rows[] = {
        {QString(230, QLatin1Char('a')), true},
        {longest, true},
        {longest, false}, // "_2" takes it to 257 bytes
        {QString(252, QLatin1Char('c')), false},
        {QString(126, QChar(0xE9)), false}, // 130 characters, 256 bytes in UTF-8
        {QString(125, QChar(0xE9)), true},
        {"after", true},
    };
    QList<QImage> images;
    int i = 0;
    for (const auto& row : rows) {
        images << noise(24 + i, 16);
        const QString path = QDir(in_.path()).filePath(QStringLiteral("source%1.png").arg(i++));
        ASSERT_TRUE(images.last().save(path));
        rowFor(row.name, path);
    }
    for (int inFlight : {1, 4}) {
        for (const QString& f : written())
            QFile::remove(out(f));
        const size_t shown = messages_.shown().size();
        const int previous = setBatchRowsInFlight(inFlight);
        EXPECT_TRUE(run()) << inFlight;
        setBatchRowsInFlight(previous);
        EXPECT_TRUE(errors_.reports().empty()) << inFlight;
        QStringList expected;
        i = 0;
        for (const auto& row : rows) {
            const QString file = (i == 2 ? row.name + "_2" : row.name) + ".jp2";
            if (row.converted) {
                expected << file;
                EXPECT_EQ(decodeOutside(out(file)), images[i]) << inFlight << " row " << i + 1;
            }
            ++i;
        }
        expected.sort();
        EXPECT_EQ(written(), expected) << inFlight; // and no temporary file is left
        ASSERT_EQ(messages_.shown().size(), shown + 1) << inFlight;
        const QString text = messages_.shown().back().text;
        EXPECT_TRUE(text.startsWith("These files were read but could not be written:"))
            << qPrintable(text);
        EXPECT_EQ(text.count("bytes long"), 3) << qPrintable(text);
        EXPECT_TRUE(text.contains(QString(252, QLatin1Char('c')) + ": the output name would be "
                                                                   "256 bytes long"))
            << qPrintable(text);
        EXPECT_TRUE(text.contains(longest + ": the output name would be 257 bytes long"));
        EXPECT_FALSE(text.contains("after"));
    }
}

TEST(BatchUnreadableRows, UnreadableAndUnwritableRowsInOneMessage) {
    UnreadableRows rows;
    rows.add("cut", "the file ends early");
    rows.addRefused("long", "the output name would be 300 bytes long");
    rows.addRefused("longer", "the output name would be 400 bytes long");
    EXPECT_EQ(rows.message().split("\r\n"),
              (QStringList{
                  "This file could not be read and was not converted:", "cut: the file ends early",
                  "", "These files were read but could not be written:",
                  "long: the output name would be 300 bytes long",
                  "longer: the output name would be 400 bytes long"}));
}

TEST(BatchUnreadableRows, ListsAScreenfulThenCountsTheRest) {
    const struct {
        int rows;
        int listedLines; // lines after the heading
        const char* tail;
    } cases[] = {{0, -1, ""},
                 {1, 1, "row1: cut"},
                 {20, 20, "row20: cut"},
                 {21, 21, "and 1 more"},
                 {250, 21, "and 230 more"}};
    for (const auto& c : cases) {
        UnreadableRows rows;
        for (int i = 1; i <= c.rows; ++i)
            rows.add(QStringLiteral("row%1").arg(i), "cut");
        const QStringList lines = rows.message().split("\r\n", Qt::SkipEmptyParts);
        EXPECT_EQ(lines.size() - 1, c.listedLines) << c.rows;
        EXPECT_EQ(lines.isEmpty() ? QString() : lines.last(), QString::fromLatin1(c.tail))
            << c.rows;
    }
}

namespace {

// Sets how many rows the batch runs at once for the length of a test.
class RowsInFlight {
public:
    explicit RowsInFlight(int rows) : previous_(setBatchRowsInFlight(rows)) {}
    ~RowsInFlight() { setBatchRowsInFlight(previous_); }

private:
    int previous_;
};

QImage withAlpha(int width, int height) {
    QImage image(width, height, QImage::Format_ARGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixelColor(x, y, QColor(x * 9 % 256, y * 5 % 256, 90, (x + y) * 4 % 256));
    return image;
}

} // namespace

// The pipelined run against the one-row-at-a-time run; damaged rows are among
// them, so the suite also runs in the sanitizer build.
class BatchPipelineCorruptRows : public BatchConversion {
protected:
    // A basket of mixed rows: a JPEG with EXIF, a PNG with alpha, the three page
    // files of a TIFF, a TGA for the loading entry, a cut JPEG, junk and more photos.
    void fillMixedBasket() {
        const QString folder = in_.path();
        ImageBox writer;
        writer.setImage(noise(120, 80));
        ASSERT_TRUE(writer.SetExifAttribute("Make", "Canon"));
        writer.SaveToFile(QDir(folder).filePath("camera.jpg"));
        rowFor("camera", QDir(folder).filePath("camera.jpg"));
        ASSERT_TRUE(withAlpha(50, 40).save(QDir(folder).filePath("alpha.png")));
        rowFor("alpha", QDir(folder).filePath("alpha.png"));
        for (int page = 1; page <= 3; ++page) {
            writer.setImage(gradient(30 + page, 20));
            const QString file =
                QDir(pages_.path()).filePath(QStringLiteral("page%1.tif").arg(page));
            writer.SaveToFile(file);
            BasketRow row;
            row.Text = QStringLiteral("scan page %1").arg(page);
            row.Tag = file;
            row.setSubItem(4, QDir(folder).filePath("scan.tif"));
            rows_.addRow(row);
        }
        writeTga(QDir(folder).filePath("old.tga"), gradient(17, 13));
        rowFor("old", QDir(folder).filePath("old.tga"));
        const QByteArray whole = readBytes(QDir(folder).filePath("camera.jpg"));
        writeBytes(QDir(folder).filePath("cut.jpg"), whole.left(whole.size() / 2));
        rowFor("cut", QDir(folder).filePath("cut.jpg"));
        writeBytes(QDir(folder).filePath("junk.png"), "no picture here");
        rowFor("junk", QDir(folder).filePath("junk.png"));
        for (int i = 0; i < 6; ++i)
            addPng(QStringLiteral("more%1").arg(i), noise(64 + i, 48));
        addPng("alpha", gradient(9, 9)); // a second "alpha": a numbered name
    }
    // Converts the basket into a fresh folder with that many rows in flight; the
    // folder starts with one target from before the run.
    QString convertInto(QTemporaryDir& folder, int rowsInFlight, const QString& existing) {
        RowsInFlight limit(rowsInFlight);
        picbasket::Setup.BatchSave.DestinationFolder = folder.path();
        writeBytes(QDir(folder.path()).filePath(existing), "from before the run");
        const size_t shown = messages_.shown().size();
        EXPECT_TRUE(run());
        EXPECT_TRUE(errors_.reports().empty());
        EXPECT_EQ(messages_.shown().size(), shown + 1);
        return messages_.shown().size() > shown ? messages_.shown().back().text : QString();
    }
    static QStringList filesOf(const QTemporaryDir& folder) {
        return QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    QTemporaryDir pages_;
};

TEST_F(BatchPipelineCorruptRows, SameFilesByteForByteAsOneRowAtATime) {
    fillMixedBasket();
    const struct {
        const char* what;
        int nameMode;
        const char* existing;
        int files;
    } namings[] = {{"generic from 1001", 2, "Sample1004.jp2", 13},
                   {"hybrid with EXIF and sizes", 1, "Canon-camera 120x80.jp2", 13}};
    for (const auto& n : namings) {
        typBatchSave& o = picbasket::Setup.BatchSave;
        o.NameMode = n.nameMode;
        o.Counter = "[Starting 1001]";
        o.Prefix = "[EXIF Make]";
        o.Separator1 = "-";
        o.Separator2 = "[WhiteSpace]";
        o.Suffix = "[Resulting resolution]";
        o.Overwrite = 0;
        QTemporaryDir serial, pipelined;
        const QString serialMessage = convertInto(serial, 1, n.existing);
        const QString pipelinedMessage = convertInto(pipelined, 4, n.existing);
        const QStringList files = filesOf(serial);
        EXPECT_EQ(files.size(), n.files) << n.what << qPrintable(files.join(", "));
        EXPECT_EQ(filesOf(pipelined), files) << n.what;
        for (const QString& file : files)
            EXPECT_EQ(readBytes(QDir(pipelined.path()).filePath(file)),
                      readBytes(QDir(serial.path()).filePath(file)))
                << n.what << " " << qPrintable(file);
        EXPECT_EQ(readBytes(QDir(serial.path()).filePath(n.existing)),
                  QByteArray("from before the run"));
        EXPECT_EQ(pipelinedMessage, serialMessage) << n.what;
        EXPECT_TRUE(serialMessage.contains("cut: ")) << n.what;
        EXPECT_TRUE(serialMessage.contains("junk: ")) << n.what;
    }
}

TEST_F(BatchPipelineCorruptRows, CancelAfterTheThirdRowCommitsThreeRowsAndLeavesNoTemporaryFile) {
    RowsInFlight limit(4);
    for (int i = 0; i < 10; ++i)
        addPng(QStringLiteral("row%1").arg(i, 2, 10, QLatin1Char('0')), noise(200, 150));
    bar_.triggerValue = 3;
    bar_.onValue = [] { QTimer::singleShot(0, [] { CancelOperation = true; }); };
    EXPECT_TRUE(run());
    EXPECT_EQ(written(), (QStringList{"row00.jp2", "row01.jp2", "row02.jp2"}));
    for (const QString& file : written())
        EXPECT_EQ(decode(out(file)).size(), QSize(200, 150)) << qPrintable(file);
    EXPECT_FALSE(CancelOperation);
    EXPECT_EQ(bar_.calls.last(), "hidden");
    EXPECT_FALSE(bar_.calls.contains("value 4"));
}

TEST_F(BatchPipelineCorruptRows, AFailedWriteOnRowFourEndsTheRunOnce) {
    RowsInFlight limit(4);
    picbasket::Setup.BatchSave.DestinationMode = 0;
    for (int i = 1; i <= 7; ++i) {
        BasketRow row = addPng(QStringLiteral("row%1").arg(i), gradient(20, 10));
        if (i == 4) {
            // Beside a source file whose folder is gone: the output cannot be written.
            row.setSubItem(4, QDir(in_.path()).filePath("gone/row4.png"));
            rows_.setRow(3, row);
        }
    }
    EXPECT_FALSE(run());
    ASSERT_EQ(errors_.reports().size(), 1u);
    EXPECT_EQ(errors_.reports()[0].source, "fncSaveSinglePage");
    const QStringList outputs =
        QDir(in_.path()).entryList({"*.jp2"}, QDir::Files | QDir::Hidden, QDir::Name);
    EXPECT_EQ(outputs, (QStringList{"row1.jp2", "row2.jp2", "row3.jp2"}));
    EXPECT_EQ(bar_.calls.last(), "hidden");
}

TEST(BatchMemoryBudget, RowsTakeTheirShareAndOneRowAlwaysStarts) {
    BatchMemoryBudget budget(100);
    EXPECT_TRUE(budget.tryTake(60));
    EXPECT_FALSE(budget.tryTake(41)); // 101 would pass the budget
    EXPECT_TRUE(budget.tryTake(40));
    budget.give(60);
    EXPECT_TRUE(budget.tryTake(60));
    budget.give(60);
    budget.give(40);
    // Nothing held: a row larger than the whole budget still runs, alone.
    EXPECT_TRUE(budget.tryTake(500));
    EXPECT_FALSE(budget.tryTake(1));
    budget.give(500);
    EXPECT_EQ(budget.peakRows(), 2);
    EXPECT_EQ(budget.peakBytes(), 500);
}

TEST(BatchMemoryBudget, EstimatesFollowThePixelsTheHeaderTells) {
    QTemporaryDir dir;
    const QString png = QDir(dir.path()).filePath("a.png");
    const QString jpeg = QDir(dir.path()).filePath("b.jpg");
    ASSERT_TRUE(noise(300, 200).save(png));
    ASSERT_TRUE(noise(600, 400).save(jpeg, "JPEG", 90));
    const QString junk = QDir(dir.path()).filePath("c.bin");
    writeBytes(junk, QByteArray(30000, 'x'));
    const int64_t small = fncBatchRowEstimate(png);
    EXPECT_EQ(small, fncBatchRowEstimate(QSize(300, 200), 4));
    EXPECT_EQ(fncBatchRowEstimate(jpeg), 4 * small); // four times the pixels
    EXPECT_GE(small, 300 * 200 * 16);                // at least the encoder's copy of the samples
    // No header: an uncompressed image of the file's length.
    EXPECT_EQ(fncBatchRowEstimate(junk), fncBatchRowEstimate(QSize(10000, 1), 4));
    EXPECT_EQ(fncBatchRowEstimate(QImage(300, 200, QImage::Format_RGB32)), small);
    EXPECT_GT(fncBatchRowEstimate(QImage(300, 200, QImage::Format_RGBA64)), small);
    EXPECT_GT(fncBatchMemoryBudget(), int64_t(64) << 20);
}

namespace {

// A budget and a fake estimate for the length of a test: rows whose name starts
// with "large" count 600 of a budget of 1000, any other row 10.
class FakeMemory {
public:
    FakeMemory()
        : budget_(setBatchMemoryBudget(1000)),
          estimate_(setBatchRowEstimate([](const BasketRow& row) {
              return row.Text.startsWith("huge")    ? int64_t(5000)
                     : row.Text.startsWith("large") ? int64_t(600)
                                                    : int64_t(10);
          })) {}
    ~FakeMemory() {
        setBatchMemoryBudget(budget_);
        setBatchRowEstimate(estimate_);
    }

private:
    int64_t budget_;
    BatchRowEstimate estimate_;
};

} // namespace

TEST_F(BatchPipelineCorruptRows, LargeRowsRunFewerAtOnceWithinTheMemoryBudget) {
    FakeMemory memory;
    RowsInFlight limit(4);
    const struct {
        const char* prefix;
        int rows;
        int peakRows; // most rows at once; 0: more than one
        int64_t peakBytes;
    } cases[] = {{"large", 6, 1, 600}, {"huge", 2, 1, 5000}, {"small", 8, 0, 0}};
    QList<QImage> images;
    for (const auto& c : cases) {
        rows_.clearRows();
        for (const QString& f : written())
            QFile::remove(out(f));
        for (int i = 0; i < c.rows; ++i)
            addPng(QStringLiteral("%1%2").arg(c.prefix).arg(i), noise(160 + i, 120));
        EXPECT_TRUE(run()) << c.prefix;
        const BatchRunPeak peak = fncLastBatchRunPeak();
        if (c.peakRows > 0) {
            EXPECT_EQ(peak.rows, c.peakRows) << c.prefix;
            EXPECT_EQ(peak.bytes, c.peakBytes) << c.prefix;
        } else {
            EXPECT_GT(peak.rows, 1) << c.prefix;
            EXPECT_LE(peak.rows, 4) << c.prefix;
        }
        ASSERT_EQ(written().size(), c.rows) << c.prefix; // every row, and no temporary file
        for (int i = 0; i < c.rows; ++i)
            EXPECT_EQ(decode(out(QStringLiteral("%1%2.jp2").arg(c.prefix).arg(i))),
                      noise(160 + i, 120))
                << c.prefix << i;
        EXPECT_TRUE(errors_.reports().empty());
    }
}
namespace {

QString runTool(const QString& tool, const QStringList& args) {
    QProcess p;
    p.start(tool, args);
    p.waitForFinished(60000);
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

// Portrait photos stored on their side are converted upright, each as the
// oracle turns it.
TEST_F(BatchConversion, EveryOrientationIsWrittenUpright) {
    if (QStandardPaths::findExecutable("convert").isEmpty())
        GTEST_SKIP() << "ImageMagick's convert is not installed";
    const QImage stored = test::quadrantPicture(64, 48);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        test::CameraExif o;
        o.orientation = orientation;
        const QString path = QDir(in_.path()).filePath(QString("o%1.jpg").arg(orientation));
        writeBytes(path, test::jpegWithBlocks(stored, test::cameraExif(o)));
        rowFor(QString("o%1").arg(orientation), path);
    }
    ASSERT_TRUE(run());
    for (int orientation = 1; orientation <= 8; ++orientation) {
        const QString name = QString("o%1").arg(orientation);
        const QString oracle = out(name + "-oracle.png");
        runTool("convert", {QDir(in_.path()).filePath(name + ".jpg"), "-auto-orient", oracle});
        const QImage expected = QImage(oracle).convertToFormat(QImage::Format_RGB888);
        const QImage written = decode(out(name + ".jp2")).convertToFormat(QImage::Format_RGB888);
        ASSERT_EQ(written.size(), expected.size()) << orientation;
        for (const QPoint& p :
             {QPoint(10, 10), QPoint(written.width() - 10, 10), QPoint(10, written.height() - 10),
              QPoint(written.width() - 10, written.height() - 10)}) {
            const QColor a = written.pixelColor(p), b = expected.pixelColor(p);
            EXPECT_LT(std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) +
                          std::abs(a.blue() - b.blue()),
                      40)
                << orientation << " at " << p.x() << "," << p.y();
        }
    }
}

// A Display P3 photo's JP2 file says so with the profile itself, and a 300 dpi
// photo's says it was captured at 300 dpi.
TEST_F(BatchConversion, Jp2CarriesTheColourProfileAndCaptureResolution) {
    if (QStandardPaths::findExecutable("jpylyzer").isEmpty())
        GTEST_SKIP() << "jpylyzer is not installed";
    test::CameraExif o;
    o.xDpi = 300;
    const QString path = QDir(in_.path()).filePath("p3.jpg");
    writeBytes(path, test::jpegWithBlocks(test::quadrantPicture(64, 48), test::cameraExif(o),
                                          test::displayP3Profile()));
    rowFor("p3", path);
    ASSERT_TRUE(run());
    const QString report = runTool("jpylyzer", {out("p3.jp2")});
    EXPECT_TRUE(report.contains("<meth>Restricted ICC</meth>")) << report.toStdString();
    EXPECT_TRUE(report.contains("<vRescInPixelsPerInch>300.0")) << report.toStdString();
    EXPECT_TRUE(report.contains("<hRescInPixelsPerInch>300.0")) << report.toStdString();
    EXPECT_FALSE(report.contains("<enumCS>sRGB</enumCS>")) << report.toStdString();
}

namespace {

// Ends the test process when a step that must return at once has not after a
// while: a file opened that blocks would otherwise hang the suite without a word.
class AlarmWatchdog {
public:
    explicit AlarmWatchdog(unsigned seconds) { ::alarm(seconds); }
    ~AlarmWatchdog() { ::alarm(0); }
};

// Rows whose names lead to no regular image file; the suite also runs in the
// sanitizer build.
class BatchNoFileCorruptRows : public BatchConversion {
protected:
    // Fills the folder with the names a basket can hold that are no regular image
    // files, and returns each row's name with the reason the closing message gives.
    QList<QPair<QString, QString>> addNamesThatAreNoFiles(const QString& folder);
    // The folder's clean-up cannot name the file whose name is no UTF-8.
    void TearDown() override {
        if (!badName_.isEmpty())
            ::unlink(badName_.constData());
        BatchConversion::TearDown();
    }
    QByteArray badName_;
};

QList<QPair<QString, QString>>
BatchNoFileCorruptRows::addNamesThatAreNoFiles(const QString& folder) {
    QList<QPair<QString, QString>> expected;
    const QString pipe = QDir(folder).filePath("pipe.jpg");
    EXPECT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    expected.append(qMakePair(QStringLiteral("pipe"), QStringLiteral("It is not a regular file.")));
    const QString loop = QDir(folder).filePath("loop.jpg");
    EXPECT_TRUE(QFile::link(loop, loop));
    expected.append(
        qMakePair(QStringLiteral("loop"), QStringLiteral("It is a link that leads nowhere.")));
    const QString dangling = QDir(folder).filePath("dangling.png");
    EXPECT_TRUE(QFile::link(QDir(folder).filePath("nothing-here.png"), dangling));
    expected.append(
        qMakePair(QStringLiteral("dangling"), QStringLiteral("It is a link that leads nowhere.")));
    const QString gone = QDir(folder).filePath("gone.png");
    EXPECT_TRUE(gradient(4, 4).save(gone));
    expected.append(
        qMakePair(QStringLiteral("gone"), QStringLiteral("The file no longer exists.")));
    const QString empty = QDir(folder).filePath("empty.jpg");
    writeBytes(empty, {});
    expected.append(qMakePair(QStringLiteral("empty"), QStringLiteral("The file is empty.")));
    // A name whose bytes are no UTF-8: the listing decodes it with a replacement
    // character, and that name leads to no file.
    const QByteArray badName = QFile::encodeName(folder) + "/caf\xE9.png";
    const int fd = ::open(badName.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    EXPECT_GE(fd, 0);
    ::close(fd);
    expected.append(
        qMakePair(QStringLiteral("badname"), QStringLiteral("Its name cannot be read.")));
    const QString paths[] = {pipe, loop, dangling, gone, empty, QFile::decodeName(badName)};
    for (int i = 0; i < int(expected.size()); ++i)
        rowFor(expected[i].first, paths[i]);
    QFile::remove(gone);
    badName_ = badName;
    return expected;
}

} // namespace

// Every name that is no readable image is listed with what happened to it; the
// sound rows around them are converted, and nothing waits on a pipe.
TEST_F(BatchNoFileCorruptRows, AreListedWithWhatHappenedAndTheSoundRowsConvert) {
    AlarmWatchdog watchdog(60);
    addPng("first", gradient(10, 6));
    const auto expected = addNamesThatAreNoFiles(in_.path());
    addPng("last", gradient(6, 10));

    EXPECT_TRUE(run());
    EXPECT_EQ(written(), (QStringList{"first.jp2", "last.jp2"}));
    EXPECT_EQ(decode(out("last.jp2")), gradient(6, 10));
    ASSERT_EQ(messages_.shown().size(), 1u);
    const QString text = messages_.shown()[0].text;
    for (const auto& [name, reason] : expected)
        EXPECT_TRUE(text.contains(name + ": " + reason)) << qPrintable(name + "\n" + text);
    EXPECT_FALSE(text.contains("no loader")) << qPrintable(text);
    EXPECT_TRUE(errors_.reports().empty());
}

// A killed run leaves its part files; the next run into that folder removes
// them, and only them.
TEST_F(BatchConversion, PartFilesOfAKilledRunAreRemovedByTheNextRun) {
    const QStringList leftovers{".row3-0123abcd.part.jp2", ".row12-ffffffff.part.jpc",
                                ".jp2-89abcdef.part"};
    const QStringList kept{
        ".row3-0123abcd.part.jp2.keep", ".row-0123abcd.part.jp2", ".jp2-89ABCDEF.part",
        "row3-0123abcd.part.jp2",       ".jp2-1234567.part",      "notes.txt"};
    for (const QString& name : leftovers + kept)
        writeBytes(out(name), "left");
    addPng("photo", gradient(8, 8));

    EXPECT_TRUE(run());
    QStringList expected = kept;
    expected << "photo.jp2";
    expected.sort();
    EXPECT_EQ(written(), expected);
}

// A source whose name is only white space before its extension gets a visible
// output name, and the same-name rule numbers the next one.
TEST_F(BatchConversion, ABlankStemGivesAVisibleName) {
    const QString blank = QDir(in_.path()).filePath("   .png");
    ASSERT_TRUE(gradient(8, 8).save(blank, "PNG"));
    rowFor("   ", blank);
    rowFor("", blank);
    addPng("plain", gradient(4, 4));

    EXPECT_TRUE(run());
    EXPECT_EQ(written(), (QStringList{"_.jp2", "__2.jp2", "plain.jp2"}));
}

namespace {

// A folder that takes only so many bytes: a small tmpfs where the test may mount
// one, else the file-size limit of the process (a write past it fails as on a
// full disk, with SIGXFSZ ignored).
class FullDiskAfter {
public:
    FullDiskAfter(const QString& folder, qint64 bytes) : folder_(folder) {
        const QByteArray options = "size=" + QByteArray::number(bytes);
        mounted_ = ::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", 0,
                           options.constData()) == 0;
        if (mounted_)
            return;
        ::getrlimit(RLIMIT_FSIZE, &previous_);
        previousSignal_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = previous_;
        limit.rlim_cur = rlim_t(bytes);
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FullDiskAfter() {
        if (mounted_) {
            ::umount(QFile::encodeName(folder_).constData());
            return;
        }
        ::setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousSignal_);
    }

private:
    QString folder_;
    bool mounted_ = false;
    rlimit previous_{};
    void (*previousSignal_)(int) = SIG_DFL;
};

} // namespace

// When a row cannot be written for want of room, the message names that row's
// output as the same-name rule made it, not an earlier row's file.
TEST_F(BatchConversion, AFullDiskNamesTheRowsOwnOutput) {
    RowsInFlight oneAtATime(1);
    const QString small = QDir(in_.path()).filePath("small.png");
    ASSERT_TRUE(gradient(8, 8).save(small));
    const QString large = QDir(in_.path()).filePath("large.png");
    ASSERT_TRUE(noise(256, 256).save(large));
    rowFor("rgb", small);
    rowFor("rgb", large);
    const QString target = QDir(out_.path()).filePath("full");
    ASSERT_TRUE(QDir().mkpath(target));
    picbasket::Setup.BatchSave.DestinationFolder = target;
    FullDiskAfter full(target, 64 * 1024);
    EXPECT_FALSE(run());
    EXPECT_TRUE(QFileInfo::exists(QDir(target).filePath("rgb.jp2")));
    ASSERT_EQ(errors_.reports().size(), 1u);
    const QString words = errors_.reports()[0].description;
    EXPECT_TRUE(words.contains(QDir(target).filePath("rgb_2.jp2"))) << qPrintable(words);
    EXPECT_FALSE(words.contains(QDir(target).filePath("rgb.jp2"))) << qPrintable(words);
    EXPECT_FALSE(words.contains(".part")) << qPrintable(words);
    const QStringList left = QDir(target).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left, QStringList{"rgb.jp2"});
}
