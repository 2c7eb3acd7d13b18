#include "ImageBoxTestImages.h"
#include "tests/common/TestSupport.h"

#include <random>

namespace picbasket::test::imagebox {
namespace {

// One good file per format, written by the box, with the colour format that
// reaches the format's interesting path.
// `trailer` counts bytes after the image data that a reader does not need:
// DevIL ends a 24-bit PCX with an unused 769-byte palette block.
struct Sample {
    const char* extension;
    int colorFormat;
    int trailer = 0;
};

const Sample Samples[] = {{"bmp", 0}, {"bmp", 1},  {"gif", 1},      {"jpg", 0},
                          {"png", 0}, {"png", 1},  {"pcx", 0, 769}, {"pcx", 1},
                          {"psd", 0}, {"wbmp", 6}, {"tif", 0},      {"tif", 6}};

QByteArray goodFile(const TempAppFolder& folder, const Sample& sample) {
    ImageBox box;
    box.setImage(colourImage(37, 29));
    box.setColorFormat(sample.colorFormat);
    if (sample.colorFormat == 6)
        box.setTiffCompression(2);
    const QString path = folder.file(QString("good.") + sample.extension);
    box.SaveToFile(path);
    return fileBytes(path);
}

// Loads damaged bytes into a box that holds an image; the load must raise the
// skippable failure and leave the image as it was.
void expectRefused(const TempAppFolder& folder, const QByteArray& bytes, const char* extension,
                   const std::string& what) {
    const QString path = folder.file(QString("bad.") + extension);
    writeBytes(path, bytes);
    ImageBox box;
    box.setImage(paletteImage());
    EXPECT_EQ(raisedNumber([&] { box.LoadFromFile(path); }), err::Unexpected) << what;
    EXPECT_TRUE(box.LoadedFlag()) << what;
    EXPECT_EQ(box.image(), paletteImage()) << what;
    EXPECT_EQ(raisedNumber([&] { box.PageCountOfFile(path); }), err::Unexpected) << what;
}

TEST(ImageBoxCorrupt, TruncatedFilesRaiseAndKeepTheImage) {
    TempAppFolder folder;
    for (const Sample& sample : Samples) {
        const QByteArray good = goodFile(folder, sample);
        const std::string name = std::string(sample.extension) + std::to_string(sample.colorFormat);
        for (qsizetype keep : {qsizetype(0), qsizetype(1), qsizetype(8), qsizetype(40),
                               good.size() / 2, good.size() - sample.trailer - 2}) {
            expectRefused(folder, good.left(keep), sample.extension,
                          name + " cut to " + std::to_string(keep));
        }
    }
}

// Header damage each format must notice: a broken signature and an impossible size.
struct HeaderDamage {
    const char* extension;
    int colorFormat;
    const char* fault;
    qsizetype offset;
    QByteArray bytes;
};

TEST(ImageBoxCorrupt, DamagedHeadersRaise) {
    const HeaderDamage rows[] = {
        {"bmp", 0, "bad signature", 0, "XX"},
        {"bmp", 0, "huge width", 18, QByteArray("\xFF\xFF\xFF\x7F", 4)},
        {"bmp", 0, "unknown depth", 28, QByteArray("\x07\x00", 2)},
        {"bmp", 0, "pixel offset past the end", 10, QByteArray("\xFF\xFF\xFF\x00", 4)},
        {"gif", 1, "bad signature", 0, "GIX"},
        {"gif", 1, "zero width", 6, QByteArray("\x00\x00", 2)},
        {"jpg", 0, "bad signature", 0, QByteArray("\xFF\x00", 2)},
        {"png", 0, "bad signature", 1, "PNX"},
        {"png", 0, "zero height", 20, QByteArray("\x00\x00\x00\x00", 4)},
        {"png", 0, "image data bit flipped", -40, QByteArray("\x5A", 1)},
        {"pcx", 0, "bad signature", 0, QByteArray("\x0B", 1)},
        {"pcx", 0, "right edge before left", 4, QByteArray("\x30\x00", 2)},
        {"pcx", 1, "unknown depth", 3, QByteArray("\x03", 1)},
        {"psd", 0, "bad signature", 0, "8BPX"},
        {"psd", 0, "huge height", 14, QByteArray("\x7F\xFF\xFF\xFF", 4)},
        {"wbmp", 6, "unknown type", 0, QByteArray("\x05", 1)},
        {"wbmp", 6, "endless number", 2, QByteArray("\xFF\xFF\xFF\xFF\xFF", 5)},
        {"tif", 0, "bad byte order", 0, "XX"},
        {"tif", 0, "first page offset past the end", 4, QByteArray("\xFF\xFF\xFF\x0F", 4)},
    };
    TempAppFolder folder;
    for (const HeaderDamage& row : rows) {
        QByteArray bytes = goodFile(folder, {row.extension, row.colorFormat});
        const qsizetype at = row.offset >= 0 ? row.offset : bytes.size() + row.offset;
        bytes.replace(at, row.bytes.size(), row.bytes);
        expectRefused(folder, bytes, row.extension, std::string(row.extension) + ": " + row.fault);
    }
}

// Random damage anywhere may or may not be noticed (a flipped pixel byte in a
// BMP is a valid BMP), but it must never crash or hang, and a failure must be
// the skippable one with the image kept.
TEST(ImageBoxCorrupt, RandomDamageNeverCrashes) {
    TempAppFolder folder;
    std::mt19937 random(20261210);
    for (const Sample& sample : Samples) {
        const QByteArray good = goodFile(folder, sample);
        const QString path = folder.file(QString("fuzz.") + sample.extension);
        for (int round = 0; round < 150; ++round) {
            QByteArray bytes = good;
            const int changes = 1 + int(random() % 6);
            for (int i = 0; i < changes; ++i)
                bytes[qsizetype(random() % uint32_t(bytes.size()))] = char(random() & 0xFF);
            if (round % 5 == 0)
                bytes.truncate(qsizetype(random() % uint32_t(bytes.size())));
            writeBytes(path, bytes);
            ImageBox box;
            box.setImage(paletteImage());
            const int32_t number = raisedNumber([&] { box.LoadFromFile(path); });
            if (number != 0) {
                EXPECT_EQ(number, err::Unexpected);
                EXPECT_EQ(box.image(), paletteImage());
            }
            const int32_t countError = raisedNumber([&] { box.PageCountOfFile(path); });
            EXPECT_TRUE(countError == 0 || countError == err::Unexpected);
        }
    }
}

TEST(ImageBoxCorrupt, DamagedSnapshotsRaise) {
    ImageBox box;
    box.setImage(alphaImage());
    const QByteArray good = box.SaveToMemory(ImageBox::FormatTiff);
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes = good;
        if (round % 2 == 0)
            bytes.truncate(qsizetype(random() % uint32_t(bytes.size())));
        else
            bytes[qsizetype(random() % 64)] = char(random() & 0xFF);
        ImageBox target;
        target.setImage(greyImage());
        const int32_t number = raisedNumber([&] { target.LoadFromMemory(7, bytes); });
        if (number != 0) {
            EXPECT_EQ(number, err::Unexpected);
            EXPECT_EQ(target.image(), greyImage());
        }
    }
}

TEST(ImageBoxCorrupt, MissingFileAndFolderRaise) {
    TempAppFolder folder;
    ImageBox box;
    EXPECT_EQ(raisedNumber([&] { box.LoadFromFile(folder.file("none.png")); }), err::Unexpected);
    EXPECT_EQ(raisedNumber([&] { box.LoadFromFile(folder.path()); }), err::Unexpected);
    EXPECT_EQ(raisedNumber([&] { box.PageCountOfFile(folder.file("none.tif")); }), err::Unexpected);
}

TEST(ImageBoxCorrupt, TextFileWithImageExtensionRaises) {
    TempAppFolder folder;
    for (const char* name : {"a.png", "a.jpg", "a.tif", "a.wbmp", "a.pcx"}) {
        writeBytes(folder.file(name), "This is not an image at all, only some text.\n");
        expectRefused(folder, fileBytes(folder.file(name)),
                      QFileInfo(name).suffix().toLatin1().constData(), name);
    }
}

} // namespace
} // namespace picbasket::test::imagebox
