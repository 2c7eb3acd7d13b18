#include "platform/imagebox/ImageBox.h"
#include "tests/platform/metadata/CameraFixtures.h"
#include "tests/platform/metadata/Exiftool.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include <QCryptographicHash>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace picbasket {
namespace {

// exiftool is the oracle throughout: "Group:Name" to value for every tag of
// -a -G1 -s -n, but the file system's and exiftool's own; a tag read twice
// gets "#2".
QMap<QString, QString> tagsOf(const QString& path) {
    QMap<QString, QString> out;
    static const QRegularExpression line(QStringLiteral("^\\[([^\\]]+)\\]\\s+(\\S+)\\s*: ?(.*)$"));
    for (const QString& l :
         QString::fromUtf8(test::exiftoolBytes({"-a", "-G1", "-s", "-n", path})).split('\n')) {
        const auto m = line.match(l.trimmed());
        if (!m.hasMatch() || m.captured(1) == "System" || m.captured(1) == "ExifTool")
            continue;
        QString key = m.captured(1) + ":" + m.captured(2);
        for (int n = 2; out.contains(key); ++n)
            key = m.captured(1) + ":" + m.captured(2) + "#" + QString::number(n);
        out.insert(key, m.captured(3));
    }
    return out;
}

// The tags that differ between two readings, each with both values.
QStringList differences(const QMap<QString, QString>& before, const QMap<QString, QString>& after,
                        const std::function<bool(const QString&)>& allowed) {
    QStringList out;
    QSet<QString> keys(before.keyBegin(), before.keyEnd());
    keys.unite(QSet<QString>(after.keyBegin(), after.keyEnd()));
    QStringList sorted(keys.values());
    sorted.sort();
    for (const QString& k : sorted) {
        if (allowed(k) || before.value(k, "<none>") == after.value(k, "<none>"))
            continue;
        out << k + ": " + before.value(k, "<none>") + " -> " + after.value(k, "<none>");
    }
    return out;
}

// The thumbnail (or the first directory's preview) as it lies in the file,
// found where exiftool says it is (its offsets count from the file's start).
QByteArray thumbnailBytes(const QString& path) {
    const QMap<QString, QString> t = tagsOf(path);
    QString offset, length;
    for (const auto& [o, l] : {std::pair{"IFD1:ThumbnailOffset", "IFD1:ThumbnailLength"},
                               std::pair{"IFD1:StripOffsets", "IFD1:StripByteCounts"},
                               std::pair{"IFD0:OtherImageStart", "IFD0:OtherImageLength"}}) {
        if (t.contains(o) && t.contains(l)) {
            offset = t.value(o);
            length = t.value(l);
            break;
        }
    }
    if (offset.isEmpty())
        return {};
    return test::readFile(path).mid(offset.toLongLong(), length.toLongLong());
}

struct Layout {
    const char* name;
    test::ExifLayout layout;
    const char* exifEdit; // the attribute an EXIF edit sets
    // What else an EXIF edit may change: a new Exif directory and its pointer.
    QStringList exifAlsoChanges;
};

const std::vector<Layout>& layouts() {
    static const QStringList newExif = {
        "ExifIFD:ExifVersion",     "ExifIFD:FlashpixVersion", "ExifIFD:ColorSpace",
        "ExifIFD:ComponentsConfiguration", "ExifIFD:ExifImageWidth", "ExifIFD:ExifImageHeight"};
    static const std::vector<Layout> all = {
        {"uncompressed-strip IFD1", test::ExifLayout::StripThumbnail, "Artist", {}},
        {"JPEG IFD1 at 180 dpi", test::ExifLayout::Thumbnail180, "Artist", {}},
        {"Nikon note with own header", test::ExifLayout::NikonOwnHeader, "Artist", {}},
        {"Minolta note", test::ExifLayout::MinoltaNote, "Artist", {}},
        {"CIFF-style IFD0", test::ExifLayout::CiffStyle, "Artist", {}},
        {"no EXIF sub-IFD", test::ExifLayout::NoExifDirectory, "DateTimeOriginal", newExif},
    };
    return all;
}

QString attributeKey(const char* attribute) {
    return QString(attribute) == "Artist" ? "IFD0:Artist" : "ExifIFD:DateTimeOriginal";
}

QString writeLayout(const QTemporaryDir& dir, const Layout& l, const QString& name) {
    const QString path = dir.filePath(name);
    test::writeFile(path, test::jpegWithBlocks(test::quadrantPicture(64, 48),
                                               test::layoutExif(l.layout).block));
    return path;
}

bool isIptcKey(const QString& k) {
    return k.startsWith("IPTC:") || k == "File:CurrentIPTCDigest" ||
           k.startsWith("Photoshop:IPTCDigest");
}

// An in-place EXIF edit changes the edited tag (and, on a file without an Exif
// directory, makes one with its required entries) and nothing else: the
// second directory, the thumbnail's bytes, the maker note and the first
// directory's entries come through.
TEST(MetadataLayouts, InPlaceExifEditChangesOnlyTheEditedTag) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    for (const Layout& l : layouts()) {
        const QString path = writeLayout(dir, l, "exif.jpg");
        const auto before = tagsOf(path);
        const QByteArray thumbnail = thumbnailBytes(path);
        EXPECT_EQ(thumbnail, test::layoutExif(l.layout).thumbnail) << l.name;
        const QSet<QString> warned = test::warnings(path);
        ImageBox box;
        box.LoadFromFile(path);
        const QString value = QString(l.exifEdit) == "Artist" ? "Someone" : "2002:03:04 05:06:07";
        ASSERT_TRUE(box.SetExifAttribute(l.exifEdit, value)) << l.name;
        box.SaveJpegMetadata(path);
        const auto after = tagsOf(path);
        EXPECT_EQ(after.value(attributeKey(l.exifEdit)), value) << l.name;
        for (const QString& k : l.exifAlsoChanges)
            EXPECT_TRUE(after.contains(k)) << l.name << ": " << k.toStdString();
        const QStringList changed = differences(before, after, [&](const QString& k) {
            return k == attributeKey(l.exifEdit) || l.exifAlsoChanges.contains(k) ||
                   k.startsWith("Composite:SubSec");
        });
        EXPECT_TRUE(changed.isEmpty()) << l.name << ":\n" << changed.join("\n").toStdString();
        EXPECT_EQ(thumbnailBytes(path), thumbnail) << l.name;
        const QSet<QString> added = test::warnings(path) - warned;
        EXPECT_TRUE(added.isEmpty())
            << l.name << ": " << QStringList(added.values()).join("; ").toStdString();
    }
}

// An in-place IPTC edit changes the IPTC and leaves the EXIF segment as it was.
TEST(MetadataLayouts, InPlaceIptcEditLeavesTheExifAsItWas) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    for (const Layout& l : layouts()) {
        const QString path = writeLayout(dir, l, "iptc.jpg");
        const auto before = tagsOf(path);
        const QByteArray exif = test::exifSegmentOf(test::readFile(path));
        ImageBox box;
        box.LoadFromFile(path);
        box.AddIptcKeyword("lake");
        box.SaveJpegMetadata(path);
        const auto after = tagsOf(path);
        EXPECT_EQ(after.value("IPTC:Keywords"), "lake") << l.name;
        EXPECT_EQ(test::exifSegmentOf(test::readFile(path)), exif) << l.name;
        const QStringList changed = differences(before, after, isIptcKey);
        EXPECT_TRUE(changed.isEmpty()) << l.name << ":\n" << changed.join("\n").toStdString();
    }
}

// A JPEG saved from the box keeps every tag of the source but the thumbnail,
// which is made anew from the picture: the second directory keeps its other
// entries (resolution, Make, Model, ...), a strip thumbnail becomes a JPEG.
TEST(MetadataLayouts, SavedJpegKeepsEveryTagButTheNewThumbnail) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    for (const Layout& l : layouts()) {
        const QString source = writeLayout(dir, l, "source.jpg");
        const auto before = tagsOf(source);
        const QSet<QString> warned = test::warnings(source);
        ImageBox box;
        box.LoadFromFile(source);
        const QString out = dir.filePath("saved.jpg");
        box.SaveToFile(out);
        const auto after = tagsOf(out);
        const QStringList changed = differences(before, after, [&](const QString& k) {
            // The new thumbnail's place, size and layout; the JPEG encoder's own.
            static const QSet<QString> thumbnailTags = {
                "IFD1:ThumbnailOffset", "IFD1:ThumbnailLength", "IFD1:Compression",
                "IFD1:ImageWidth",      "IFD1:ImageHeight",     "IFD1:BitsPerSample",
                "IFD1:PhotometricInterpretation", "IFD1:StripOffsets",
                "IFD1:SamplesPerPixel", "IFD1:RowsPerStrip",    "IFD1:StripByteCounts",
                "IFD1:PlanarConfiguration", "IFD1:ThumbnailImage", "Composite:ThumbnailImage",
                "Composite:ThumbnailTIFF"};
            return thumbnailTags.contains(k) || k.startsWith("File:") || k.startsWith("JFIF:");
        });
        EXPECT_TRUE(changed.isEmpty()) << l.name << ":\n" << changed.join("\n").toStdString();
        const QSet<QString> added = test::warnings(out) - warned;
        EXPECT_TRUE(added.isEmpty())
            << l.name << ": " << QStringList(added.values()).join("; ").toStdString();
        if (before.contains("IFD1:Compression")) {
            EXPECT_EQ(after.value("IFD1:Compression"), "6") << l.name;
            const QImage thumb = QImage::fromData(test::binaryTag(out, "ThumbnailImage"));
            EXPECT_FALSE(thumb.isNull()) << l.name;
        }
    }
}

QByteArray dataset(int record, int number, const QByteArray& value) {
    QByteArray d;
    d.append(char(0x1C)).append(char(record)).append(char(number));
    d.append(char(value.size() >> 8)).append(char(value.size() & 0xFF));
    return d + value;
}

QByteArray photoshopResource(uint16_t id, const QByteArray& value) {
    QByteArray r("8BIM");
    r.append(char(id >> 8)).append(char(id & 0xFF)).append(2, '\0');
    for (int shift = 24; shift >= 0; shift -= 8)
        r.append(char((value.size() >> shift) & 0xFF));
    return r + value + (value.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

// A photo as an agency's tool leaves it: IPTC with envelope records, a time
// without its zone, the IPTC digest, and XMP naming its toolkit.
QByteArray agencyPhoto() {
    const QByteArray iptc = dataset(1, 0, QByteArray("\x00\x04", 2)) +
                            dataset(1, 20, QByteArray("\x00\x01", 2)) +
                            dataset(1, 22, QByteArray("\x00\x02", 2)) +
                            dataset(1, 5, "Desk 4") + dataset(1, 30, "Wire") +
                            dataset(1, 40, "00000007") + dataset(1, 70, "20010203") +
                            dataset(1, 80, "111500+0100") + dataset(1, 100, "UNO-1") +
                            dataset(1, 90, "\x1B%G") + dataset(2, 0, QByteArray("\x00\x04", 2)) +
                            dataset(2, 25, "harbour") + dataset(2, 55, "20010203") +
                            dataset(2, 60, "101500") + dataset(2, 120, "Boats");
    const QByteArray resources =
        photoshopResource(0x03ED, QByteArray::fromHex("00480000000100010048000000010001")) +
        photoshopResource(0x0404, iptc) +
        photoshopResource(0x0425, QCryptographicHash::hash(iptc, QCryptographicHash::Md5));
    const QByteArray xmp(
        "<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>"
        "<x:xmpmeta xmlns:x='adobe:ns:meta/' x:xmptk='Agency Toolkit 3.1'><rdf:RDF "
        "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description rdf:about='' "
        "xmlns:dc='http://purl.org/dc/elements/1.1/'><dc:subject><rdf:Bag><rdf:li>harbour</rdf:li>"
        "</rdf:Bag></dc:subject></rdf:Description></rdf:RDF></x:xmpmeta><?xpacket end='w'?>");
    const QByteArray jpeg = test::jpegWithBlocks(test::quadrantPicture(64, 48),
                                                 test::layoutExif(test::ExifLayout::Thumbnail180).block,
                                                 {}, xmp);
    return test::withSegmentAfterStart(
        jpeg, test::jpegSegment(0xED, QByteArray("Photoshop 3.0\0", 14) + resources));
}

// A keyword edit in place and a JPEG save keep the envelope, the time as it
// was written and the XMP's toolkit, and leave the IPTC digest current.
TEST(MetadataLayouts, IptcRoundTripKeepsWhatWasNotEdited) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    const QString path = dir.filePath("agency.jpg");
    test::writeFile(path, agencyPhoto());
    const auto before = tagsOf(path);
    ASSERT_EQ(before.value("IPTC:TimeCreated"), "10:15:00");
    ASSERT_EQ(before.value("Photoshop:IPTCDigest"), before.value("File:CurrentIPTCDigest"));
    // A time without its zone is a minor fault of the source, kept as it is.
    const QSet<QString> warned = test::warnings(path);
    const auto digestIsCurrent = [](const QString& file) {
        const auto t = tagsOf(file);
        return t.value("Photoshop:IPTCDigest") == t.value("File:CurrentIPTCDigest");
    };

    ImageBox box;
    box.LoadFromFile(path);
    const QString saved = dir.filePath("saved.jpg");
    box.SaveToFile(saved);
    // The IPTC is encoded anew (its digest with it), the thumbnail made anew.
    const QStringList savedChanges = differences(before, tagsOf(saved), [](const QString& k) {
        return k.startsWith("File:") || k.startsWith("JFIF:") || k.startsWith("IFD1:Thumbnail") ||
               k == "Composite:ThumbnailImage" || k == "Photoshop:IPTCDigest";
    });
    EXPECT_TRUE(savedChanges.isEmpty()) << savedChanges.join("\n").toStdString();
    EXPECT_TRUE(digestIsCurrent(saved));

    const QByteArray exif = test::exifSegmentOf(test::readFile(path));
    box.AddIptcKeyword("boats");
    box.SaveJpegMetadata(path);
    EXPECT_EQ(test::exifSegmentOf(test::readFile(path)), exif);
    const auto after = tagsOf(path);
    EXPECT_EQ(after.value("IPTC:Keywords"), "harbour, boats");
    EXPECT_TRUE(digestIsCurrent(path));
    const QSet<QString> added = test::warnings(path) - warned;
    EXPECT_TRUE(added.isEmpty()) << QStringList(added.values()).join("; ").toStdString();
    // The EXIF segment follows the grown Photoshop segment: the thumbnail's
    // offset from the file's start moves with it, its bytes do not.
    const QStringList changed = differences(before, after, [](const QString& k) {
        return k.startsWith("IPTC:Keywords") || k == "File:CurrentIPTCDigest" ||
               k == "Photoshop:IPTCDigest" || k == "IFD1:ThumbnailOffset";
    });
    EXPECT_TRUE(changed.isEmpty()) << changed.join("\n").toStdString();
}

} // namespace
} // namespace picbasket
