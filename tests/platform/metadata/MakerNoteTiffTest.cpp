// Maker notes of camera JPEG files saved as TIFF, and keywords by the ten
// thousand, held to exiftool.
#include "platform/imagebox/ImageBox.h"
#include "tests/platform/metadata/CameraFixtures.h"
#include "tests/platform/metadata/Exiftool.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include <QTemporaryDir>
#include <exiv2/exiv2.hpp>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

namespace picbasket {
namespace {

// A TIFF structure laid out in one byte order, front to back; offsets count
// from its first byte.
class Layout {
public:
    explicit Layout(bool little) : little_(little) {}
    void u16(uint32_t v) {
        little_ ? (put(v), put(v >> 8)) : (put(v >> 8), put(v));
    }
    void u32(uint32_t v) {
        little_ ? (u16(v & 0xFFFF), u16(v >> 16)) : (u16(v >> 16), u16(v & 0xFFFF));
    }
    qint64 pos() const { return b.size(); }
    QByteArray b;

private:
    void put(uint32_t v) { b.append(char(v & 0xFF)); }
    bool little_;
};

struct Field {
    uint16_t tag, type;
    uint32_t count;
    QByteArray data;       // the value's bytes (written after the directory when over 4)
    qint64 elsewhere = -1; // or an offset where the value lies already
};

// Appends a directory at the layout's end, its long values right after it;
// base is where the layout's first byte stands in the structure.
void directory(Layout& l, const std::vector<Field>& fields, qint64 base = 0) {
    const qint64 start = base + l.pos();
    qint64 values = start + 2 + 12 * qint64(fields.size()) + 4;
    QByteArray tail;
    l.u16(uint32_t(fields.size()));
    for (const Field& f : fields) {
        l.u16(f.tag);
        l.u16(f.type);
        l.u32(f.count);
        if (f.elsewhere >= 0) {
            l.u32(uint32_t(f.elsewhere));
        } else if (f.data.size() <= 4) {
            l.b += f.data + QByteArray(4 - f.data.size(), '\0');
        } else {
            l.u32(uint32_t(values + tail.size()));
            tail += f.data;
            if (tail.size() % 2)
                tail.append('\0');
        }
    }
    l.u32(0);
    l.b += tail;
}

qint64 directorySize(const std::vector<Field>& fields) {
    qint64 size = 2 + 12 * qint64(fields.size()) + 4;
    for (const Field& f : fields)
        if (f.elsewhere < 0 && f.data.size() > 4)
            size += (f.data.size() + 1) / 2 * 2;
    return size;
}

Field ascii(uint16_t tag, const char* text) {
    const QByteArray d = QByteArray(text) + '\0';
    return {tag, 2, uint32_t(d.size()), d};
}

QByteArray numbers(bool little, int width, std::initializer_list<uint32_t> values) {
    Layout l(little);
    for (uint32_t v : values)
        width == 2 ? l.u16(v) : l.u32(v);
    return l.b;
}

// A note's directory and its values, given where the stray block stands: a
// value of the note may lie there, outside the note.
using NoteFields = std::function<std::vector<Field>(qint64 strayAt)>;

// An EXIF block (TIFF structure) of the given order with Make and Model, a
// stray value block (pointed at by the note from outside it) and the note,
// whose bytes end in its trailer.
QByteArray cameraExif(bool little, const char* make, const char* model, const QByteArray& stray,
                      const NoteFields& noteFields) {
    const std::vector<Field> ifd0{ascii(271, make), ascii(272, model),
                                  {274, 3, 1, numbers(little, 2, {1})},
                                  {34665, 4, 1, QByteArray(4, '\0')}};
    const qint64 exifAt = 8 + directorySize(ifd0);
    // The Exif directory has five entries and its long values (the note's) elsewhere.
    const qint64 exifSize = 2 + 12 * 5 + 4;
    const qint64 strayAt = exifAt + exifSize;
    const qint64 noteAt = strayAt + (stray.size() + 3) / 4 * 4;
    Layout note(little);
    directory(note, noteFields(strayAt), noteAt);

    Layout l(little);
    l.b = little ? QByteArray("II*\0", 4) : QByteArray("MM\0*", 4);
    l.u32(8);
    std::vector<Field> first = ifd0;
    first[3].data = numbers(little, 4, {uint32_t(exifAt)});
    directory(l, first);
    EXPECT_EQ(l.pos(), exifAt);
    directory(l, {{36864, 7, 4, QByteArray("0230")},
                  {37121, 7, 4, QByteArray("\x01\x02\x03\x00", 4)},
                  {37500, 7, uint32_t(note.b.size()), {}, noteAt},
                  {40960, 7, 4, QByteArray("0100")},
                  {40961, 3, 1, numbers(little, 2, {1})}});
    EXPECT_EQ(l.pos(), strayAt);
    l.b += stray;
    l.b.append(QByteArray(noteAt - l.pos(), '\0'));
    return l.b + note.b;
}

// A newer Canon note: camera settings, HDR and file-info blocks, an owner name
// lying among the EXIF's values, padding, and the footer with the note's offset.
QByteArray canonExif() {
    const QByteArray owner = QByteArray("Test Owner Of The Camera") + QByteArray(8, '\0');
    auto fields = [&](qint64 strayAt) {
        return std::vector<Field>{
            {0x0001, 3, 20, numbers(true, 2, {40, 2, 0, 4, 0, 0, 0, 3, 1, 65535, 1, 0, 0, 0, 0, 0,
                                              0, 0, 0, 0})},
            ascii(0x0006, "Canon EOS 5D Mark III"),
            ascii(0x0007, "Firmware Version 1.2.3"),
            {0x0009, 2, uint32_t(owner.size()), {}, strayAt},
            {0x000C, 4, 1, numbers(true, 4, {987654321})},
            {0x0093, 3, 8, numbers(true, 2, {16, 0, 0, 0, 0, 0, 0, 0})},
            {0x4025, 4, 5, numbers(true, 4, {20, 1, 2, 0, 0})},
        };
    };
    // The footer names where the note began: known once the note is laid out.
    QByteArray exif = cameraExif(true, "Canon", "Canon EOS 5D Mark III", owner, fields);
    const qint64 noteAt = exif.size() - directorySize(fields(0));
    Layout tail(true);
    tail.b = QByteArray(12, '\0') + QByteArray("II*\0", 4);
    tail.u32(uint32_t(noteAt));
    exif += tail.b;
    // The note's count in the Exif directory takes in the footer.
    const qint64 countAt = exif.indexOf(QByteArray("\x7C\x92\x07\x00", 4)) + 4;
    Layout count(true);
    count.u32(uint32_t(exif.size() - noteAt));
    exif.replace(countAt, 4, count.b);
    return exif;
}

// A Minolta DiMAGE note in big-endian order.
QByteArray minoltaExif() {
    auto fields = [](qint64) {
        return std::vector<Field>{
            {0x0000, 7, 4, QByteArray("MLT0")},
            {0x0001, 7, 8, numbers(false, 4, {0, 1})},
            {0x0100, 4, 1, numbers(false, 4, {0})},
            {0x0101, 4, 1, numbers(false, 4, {1})},
            {0x0102, 4, 1, numbers(false, 4, {2})},
            {0x0103, 4, 1, numbers(false, 4, {3})},
            {0x0104, 10, 1, numbers(false, 4, {uint32_t(-3), 10})},
            {0x0105, 4, 1, numbers(false, 4, {5})},
            {0x0107, 4, 1, numbers(false, 4, {1})},
            ascii(0x0f00, "DiMAGE Z1 camera data block...."),
        };
    };
    return cameraExif(false, "Minolta Co., Ltd.", "DiMAGE Z1", {}, fields);
}

// A note of a layout nobody knows: a directory counting from somewhere else.
QByteArray unknownExif() {
    auto fields = [](qint64) {
        return std::vector<Field>{ascii(0x0001, "first value of the note"),
                                  ascii(0x0002, "second value of the note")};
    };
    return cameraExif(true, "Acme Optical", "Acme 1", {}, fields);
}

QString writeJpeg(const QTemporaryDir& dir, const QString& name, const QByteArray& exif) {
    const QString path = dir.filePath(name);
    test::writeFile(path, test::jpegWithBlocks(test::quadrantPicture(64, 48), exif));
    return path;
}

// Saved as TIFF from the box, both notes of known layouts read back tag for
// tag as exiftool reads them in the camera's JPEG; the box says nothing is
// left out, and reads its own TIFF back.
TEST(MakerNoteTiff, KnownLayoutsMoveIntoTheTiffIntact) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray exif;
        int leastTags;
    } rows[] = {
        {"canon-footer-stray-value", canonExif(), 7},
        {"minolta-big-endian", minoltaExif(), 9},
    };
    for (const auto& r : rows) {
        const QString source = writeJpeg(dir, QString(r.name) + ".jpg", r.exif);
        const QString notes = test::makerNotes(source);
        ASSERT_GE(notes.count('\n') + 1, r.leastTags) << r.name << "\n" << notes.toStdString();
        for (const char* ext : {"tif"}) {
            ImageBox box;
            box.LoadFromFile(source);
            const QString out = dir.filePath(QString(r.name) + "-saved." + ext);
            box.SaveToFile(out);
            EXPECT_EQ(test::makerNotes(out).toStdString(), notes.toStdString())
                << r.name << " " << ext;
            EXPECT_TRUE(box.MetadataLeftOut().isEmpty())
                << r.name << ": " << box.MetadataLeftOut().join("; ").toStdString();
            ImageBox again;
            again.LoadFromFile(out);
            EXPECT_EQ(again.ExifValueByName("Make"), box.ExifValueByName("Make")) << r.name << " " << ext;
        }
    }
}

// A note of a layout that cannot be moved is left out of the TIFF, and the
// box says so, naming the maker.
TEST(MakerNoteTiff, AnUnknownLayoutIsLeftOutAndSaidSo) {
    QTemporaryDir dir;
    const QString source = writeJpeg(dir, "acme.jpg", unknownExif());
    ImageBox box;
    box.LoadFromFile(source);
    box.SaveToFile(dir.filePath("acme.tif"));
    ASSERT_EQ(box.MetadataLeftOut().size(), 1);
    EXPECT_TRUE(box.MetadataLeftOut()[0].contains("Acme Optical"))
        << box.MetadataLeftOut()[0].toStdString();
    // A save of the same box to a JPEG keeps it where it was, and the word goes.
    box.SaveToFile(dir.filePath("acme.jpg"));
    EXPECT_TRUE(box.MetadataLeftOut().isEmpty());
}

// Canon notes whose entries claim what the file does not hold: a value beyond
// the end, a count that overflows, an unknown type. The save never reads past
// the bytes it has; the note is moved or named as left out, and the picture
// and the rest of the EXIF are saved.
TEST(MakerNoteTiffCorrupt, DamagedNotesNeverReadPastTheFile) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        std::vector<Field> fields;
    } rows[] = {
        {"value-beyond-the-end", {{0x0006, 2, 64, {}, 0x7FFFFFF0}}},
        {"count-overflows", {{0x0001, 4, 0xFFFFFFFFu, {}, 16}, ascii(0x0006, "Canon EOS")}},
        {"unknown-type", {{0x0002, 99, 1000, {}, 8}, ascii(0x0007, "Firmware 1")}},
        {"stray-at-the-header", {{0x0009, 2, 32, {}, 0}}},
    };
    for (const auto& r : rows) {
        const QByteArray exif = cameraExif(true, "Canon", "Canon EOS 5D Mark III", {},
                                           [&](qint64) { return r.fields; });
        const QString source = writeJpeg(dir, QString(r.name) + ".jpg", exif);
        ImageBox box;
        box.LoadFromFile(source);
        const QString out = dir.filePath(QString(r.name) + ".tif");
        box.SaveToFile(out);
        ImageBox again;
        again.LoadFromFile(out);
        EXPECT_EQ(again.ImageWidth(), 64) << r.name;
        EXPECT_EQ(again.ExifValueByName("Make"), "Canon") << r.name;
    }
}

// A TIFF with 60,000 keywords (written by Exiv2): the box reads them whole,
// one more is added as the keyword dialog's OK does (clear, add each), and
// exiftool counts them all in the file.
TEST(MakerNoteTiff, SixtyThousandKeywordsTakeOneEdit) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("keywords.tif");
    {
        ImageBox plain;
        plain.setImage(test::quadrantPicture(32, 24));
        plain.SaveToFile(path);
        std::unique_ptr<Exiv2::Image> image(
            Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString()).release());
        image->readMetadata();
        Exiv2::IptcData iptc;
        for (int i = 0; i < 60000; ++i) {
            Exiv2::StringValue value("kw" + std::to_string(i));
            iptc.add(Exiv2::IptcKey("Iptc.Application2.Keywords"), &value);
        }
        image->setIptcData(iptc);
        image->writeMetadata();
    }
    ImageBox box;
    box.LoadFromFile(path);
    QStringList keywords = box.IptcKeywords();
    ASSERT_EQ(keywords.size(), 60000);
    EXPECT_EQ(keywords[59999], "kw59999");
    EXPECT_EQ(box.IptcKeywordCount(), 60000);
    EXPECT_EQ(box.IptcKeyword(12345), "kw12345");
    keywords << "added";
    box.ClearIptcKeywords();
    for (const QString& k : keywords)
        box.AddIptcKeyword(k);
    box.SaveJpegMetadata(path);
    const QStringList back =
        test::exiftool({"-s3", "-sep", "|", "-IPTC:Keywords", path}).split('|');
    ASSERT_EQ(back.size(), 60001);
    EXPECT_EQ(back.front(), "kw0");
    EXPECT_EQ(back.back(), "added");
}

} // namespace
} // namespace picbasket
