#include "core/AppError.h"
#include "platform/imagebox/ExifOrientation.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/platform/metadata/CameraFixtures.h"
#include "tests/platform/metadata/Exiftool.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include "platform/imagebox/meta/PhotoshopResources.h"
#include "tests/common/TestSupport.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace picbasket {
namespace {

// Offsets inside the EXIF block where a camera file's structure can be damaged:
// directory counts, entry offsets, the maker note's own directory, the
// thumbnail's place.
std::vector<QByteArray> damagedBlocks(const QByteArray& exif) {
    std::vector<QByteArray> out;
    for (qint64 at = 4; at < exif.size(); at += 37) {
        for (char value : {char(0xFF), char(0x00)}) {
            QByteArray d = exif;
            d[at] = value;
            out.push_back(d);
        }
    }
    for (qint64 keep : {qint64(6), qint64(20), exif.size() / 2, exif.size() - 3})
        out.push_back(exif.left(keep));
    return out;
}

// A damaged EXIF block never crashes the load, the orientation step, a save as
// JPEG or TIFF or an in-place edit; each either works or says why.
TEST(MetadataWrittenBackCorrupt, DamagedCameraBlocksAreReadAndWrittenSafely) {
    QTemporaryDir dir;
    for (const auto style : {test::NoteStyle::HeaderRelative, test::NoteStyle::OwnHeader}) {
        test::CameraExif o;
        o.style = style;
        o.orientation = 6;
        int index = 0;
        for (const QByteArray& exif : damagedBlocks(test::cameraExif(o))) {
            const QByteArray file = test::jpegWithBlocks(test::quadrantPicture(16, 12), exif);
            imagebox::storedOrientation(file);
            const QString path = dir.filePath(QString("d%1.jpg").arg(index++));
            test::writeFile(path, file);
            ImageBox box;
            try {
                box.LoadFromFile(path);
            } catch (const AppError&) {
                continue;
            }
            for (const char* ext : {"jpg", "tif"}) {
                try {
                    box.SaveToFile(dir.filePath(QString("out.") + ext));
                } catch (const AppError& error) {
                    EXPECT_FALSE(error.description().isEmpty());
                }
            }
            try {
                box.AddIptcKeyword("k");
                box.SaveJpegMetadata(path);
                box.SetExifAttribute("Artist", "a");
                box.SaveJpegMetadata(path);
            } catch (const AppError& error) {
                EXPECT_FALSE(error.description().isEmpty());
            }
        }
    }
}

// The layouts whose second directory, preview or maker note the EXIF writer
// carries over, damaged in their directories and cut short: an in-place EXIF
// edit and a save either work or say why.
TEST(MetadataWrittenBackCorrupt, DamagedCarriedLayoutsAreWrittenSafely) {
    QTemporaryDir dir;
    for (const auto layout :
         {test::ExifLayout::StripThumbnail, test::ExifLayout::Thumbnail180,
          test::ExifLayout::NikonOwnHeader, test::ExifLayout::MinoltaNote,
          test::ExifLayout::CiffStyle}) {
        const QByteArray block = test::layoutExif(layout).block;
        std::vector<QByteArray> damaged;
        for (qint64 at = 8; at < std::min<qint64>(block.size(), 700); at += 23) {
            QByteArray d = block;
            d[at] = char(0xFF);
            damaged.push_back(d);
        }
        for (qint64 keep : {block.size() / 3, block.size() - 5})
            damaged.push_back(block.left(keep));
        for (const QByteArray& exif : damaged) {
            const QString path = dir.filePath("d.jpg");
            test::writeFile(path, test::jpegWithBlocks(test::quadrantPicture(16, 12), exif));
            ImageBox box;
            try {
                box.LoadFromFile(path);
                box.SetExifAttribute("Artist", "a");
                box.SaveJpegMetadata(path);
                box.SaveToFile(dir.filePath("out.jpg"));
            } catch (const AppError& error) {
                EXPECT_FALSE(error.description().isEmpty());
            }
        }
    }
}

QByteArray resource(uint16_t id, const QByteArray& value) {
    QByteArray r("8BIM");
    r.append(char(id >> 8)).append(char(id & 0xFF)).append(2, '\0');
    for (int shift = 24; shift >= 0; shift -= 8)
        r.append(char((value.size() >> shift) & 0xFF));
    return r + value + (value.size() % 2 ? QByteArray(1, '\0') : QByteArray());
}

const QByteArray kResolution = resource(0x03ED, QByteArray::fromHex("00480000000100010048000000010001"));

// Resources that do not parse to their end: a write would drop what follows.
TEST(MetadataWrittenBackCorrupt, DamagedPhotoshopResourcesAreRefusedNotDropped) {
    const struct {
        const char* what;
        QByteArray resources;
    } cases[] = {
        {"bytes after the last resource", kResolution + "not a resource"},
        {"a value past the end", kResolution + resource(0x0404, QByteArray("\x1c\x02\x19\x00\x03" "abc", 8)).left(16)},
        {"a name past the end", kResolution + QByteArray("8BIM\x04\x04\x20", 7)},
        {"an unknown signature", QByteArray("XXXX") + kResolution.mid(4)},
    };
    for (const auto& c : cases) {
        try {
            photoshopresources::withIptc(c.resources, "\x1c\x02\x19\x00\x01k");
            ADD_FAILURE() << c.what << ": no error";
        } catch (const AppError& error) {
            EXPECT_TRUE(error.description().contains("damaged")) << c.what;
        }
    }
    // Zero padding after the resources is no data.
    const QByteArray padded = photoshopresources::withIptc(kResolution + QByteArray(14, '\0'), "");
    EXPECT_EQ(padded, kResolution);
}

// The fuzz finding: a sound resolution resource and zero bytes after it. A
// caption and a keyword written in place keep the resource and go in; a file
// whose resources cannot be parsed is refused and left as it was.
TEST(MetadataWrittenBackCorrupt, IptcIntoDamagedPhotoshopResources) {
    QTemporaryDir dir;
    const QString path = dir.filePath("damaged.jpg");
    const QByteArray finding =
        test::readFile(test::testDataFolder() + "/fuzz/imagebox/photoshop-irb-damaged.jpg");
    ASSERT_TRUE(finding.contains(kResolution));
    test::writeFile(path, finding);
    {
        ImageBox box;
        box.LoadFromFile(path);
        box.setIptcCaption("A caption");
        box.AddIptcKeyword("lake");
        box.SaveJpegMetadata(path);
    }
    const QByteArray written = test::readFile(path);
    EXPECT_TRUE(written.contains(kResolution));
    ImageBox reread;
    reread.LoadFromFile(path);
    // A JPEG saved from it carries the resource and the IPTC too.
    const QString saved = dir.filePath("saved.jpg");
    reread.SaveToFile(saved);
    EXPECT_TRUE(test::readFile(saved).contains(kResolution));
    ImageBox savedBox;
    savedBox.LoadFromFile(saved);
    EXPECT_EQ(savedBox.IptcCaption(), "A caption");
    EXPECT_EQ(reread.IptcCaption(), "A caption");
    EXPECT_EQ(reread.IptcKeyword(0), "lake");
    if (test::haveExiftool()) {
        EXPECT_EQ(test::exiftool({"-s", "-s", "-s", "-n", "-Photoshop:XResolution",
                                  "-IPTC:Keywords", "-Warning", path}),
                  "72\nlake");
    }

    // Damage that is data: refused, the file untouched.
    QByteArray damaged = finding;
    const qint64 at = damaged.indexOf(kResolution) + kResolution.size();
    damaged.replace(at, 4, "junk");
    test::writeFile(path, damaged);
    ImageBox box;
    box.LoadFromFile(path);
    box.AddIptcKeyword("lake");
    try {
        box.SaveJpegMetadata(path);
        ADD_FAILURE() << "the write reported success";
    } catch (const AppError& error) {
        EXPECT_TRUE(error.description().contains("Photoshop")) << error.description().toStdString();
    }
    EXPECT_EQ(test::readFile(path), damaged);
    // An EXIF edit leaves the resources alone, so it can be written.
    ImageBox exifOnly;
    exifOnly.LoadFromFile(path);
    ASSERT_TRUE(exifOnly.SetExifAttribute("Artist", "Someone"));
    exifOnly.SaveJpegMetadata(path);
    EXPECT_TRUE(test::readFile(path).contains(damaged.mid(damaged.indexOf("8BIM"), 40)));
}

} // namespace
} // namespace picbasket
