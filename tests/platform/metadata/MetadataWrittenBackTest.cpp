#include "platform/imagebox/ImageBox.h"
#include "tests/platform/metadata/CameraFixtures.h"
#include "tests/platform/metadata/Exiftool.h"
#include "tests/platform/metadata/MetadataFixtures.h"

#include <QSet>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace picbasket {
namespace {

QString writeCamera(const QTemporaryDir& dir, const QString& name, const test::CameraExif& o,
                    const QImage& picture = test::quadrantPicture(64, 48),
                    const QByteArray& icc = {}, const QByteArray& xmp = {}) {
    const QString path = dir.filePath(name);
    test::writeFile(path, test::jpegWithBlocks(picture, test::cameraExif(o), icc, xmp));
    return path;
}

struct Edit {
    const char* name;
    std::function<void(ImageBox&)> apply;
    int width, height;
};

const std::vector<Edit>& edits() {
    static const std::vector<Edit> all = {
        {"unedited", [](ImageBox&) {}, 64, 48},
        {"resized", [](ImageBox& b) { b.ResizeTo(32, 24); }, 32, 24},
        {"rotated", [](ImageBox& b) { b.Rotate(90); }, 48, 64},
    };
    return all;
}

// Saved as JPEG and TIFF, unedited, resized and turned: both layouts of maker
// note read back tag for tag, no new warning, and the file describes the
// picture it holds.
TEST(MetadataWrittenBack, OutputsKeepMakerNotesAndDescribeTheirPicture) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    for (const auto style : {test::NoteStyle::HeaderRelative, test::NoteStyle::OwnHeader}) {
        const QString styleName =
            style == test::NoteStyle::HeaderRelative ? "header-relative" : "own-header";
        test::CameraExif o;
        o.style = style;
        const QString source = writeCamera(dir, styleName + ".jpg", o);
        const QString notes = test::makerNotes(source);
        ASSERT_GT(notes.count('\n'), 3) << styleName.toStdString() << ": " << notes.toStdString();
        const QSet<QString> sourceWarnings = test::warnings(source);
        for (const Edit& edit : edits()) {
            for (const char* ext : {"jpg", "tif"}) {
                const std::string what = styleName.toStdString() + ", " + edit.name + ", " + ext;
                ImageBox box;
                box.LoadFromFile(source);
                edit.apply(box);
                const QString out = dir.filePath(styleName + "-" + edit.name + "." + ext);
                box.SaveToFile(out);
                EXPECT_EQ(test::makerNotes(out).toStdString(), notes.toStdString()) << what;
                const QSet<QString> added = test::warnings(out) - sourceWarnings;
                EXPECT_TRUE(added.isEmpty())
                    << what << ": " << QStringList(added.values()).join("; ").toStdString();
                // A JPEG states its size in the Exif sizes, a TIFF in its own directory.
                const bool jpeg = QString(ext) == "jpg";
                EXPECT_EQ(test::tag(out, jpeg ? "ExifImageWidth" : "ImageWidth"),
                          QString::number(edit.width))
                    << what;
                EXPECT_EQ(test::tag(out, jpeg ? "ExifImageHeight" : "ImageHeight"),
                          QString::number(edit.height))
                    << what;
                EXPECT_EQ(test::tag(out, "Orientation"), "1") << what;
                if (QString(ext) == "jpg") {
                    // The thumbnail is the new picture's: of its shape.
                    const QImage thumb = QImage::fromData(test::binaryTag(out, "ThumbnailImage"));
                    ASSERT_FALSE(thumb.isNull()) << what;
                    EXPECT_EQ(thumb.width() > thumb.height(), edit.width > edit.height) << what;
                }
            }
        }
    }
}

// In-place edits write only the block they change.
TEST(MetadataWrittenBack, AnEditRewritesOnlyItsOwnBlock) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    const QByteArray xmp("<?xpacket begin='' id='W5M0MpCehiHzreSzNTczkc9d'?>"
                         "<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
                         "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'/></x:xmpmeta>"
                         "<?xpacket end='w'?>");
    test::CameraExif o;
    o.orientation = 6;
    const QString photo = writeCamera(dir, "photo.jpg", o, test::quadrantPicture(64, 48), {}, xmp);
    const QString notes = test::makerNotes(photo);
    const QByteArray exifBefore = test::exifSegmentOf(test::readFile(photo));

    ImageBox box;
    box.LoadFromFile(photo);
    box.AddIptcKeyword("lake");
    box.SaveJpegMetadata(photo);
    EXPECT_EQ(test::exifSegmentOf(test::readFile(photo)), exifBefore);
    EXPECT_EQ(test::tag(photo, "Keywords"), "lake");
    box.AddIptcKeyword("summer");
    box.SaveJpegMetadata(photo);
    EXPECT_EQ(test::exifSegmentOf(test::readFile(photo)), exifBefore);

    const QString iptcBefore = test::exiftool({"-IPTC:all", "-s", photo});
    const QString xmpBefore = test::exiftool({"-b", "-XMP", photo});
    ASSERT_TRUE(box.SetExifAttribute("Artist", "Someone"));
    box.SaveJpegMetadata(photo);
    EXPECT_EQ(test::tag(photo, "Artist"), "Someone");
    EXPECT_EQ(test::makerNotes(photo).toStdString(), notes.toStdString());
    EXPECT_EQ(test::exiftool({"-IPTC:all", "-s", photo}), iptcBefore);
    EXPECT_EQ(test::exiftool({"-b", "-XMP", photo}), xmpBefore);
    // The stored pixels were not turned, so the file keeps its own Orientation.
    EXPECT_EQ(test::tag(photo, "Orientation"), "6");
    EXPECT_TRUE(test::warnings(photo).isEmpty())
        << QStringList(test::warnings(photo).values()).join("; ").toStdString();
}

// A TIFF edited in place points at the maker note where it lies in the file.
TEST(MetadataWrittenBack, InPlaceTiffEditsKeepTheMakerNote) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    for (const auto style : {test::NoteStyle::HeaderRelative, test::NoteStyle::OwnHeader}) {
        test::CameraExif o;
        o.style = style;
        ImageBox writer;
        writer.LoadFromFile(writeCamera(dir, "camera.jpg", o));
        const QString tiff = dir.filePath("camera.tif");
        writer.SaveToFile(tiff);
        const QString notes = test::makerNotes(tiff);
        const QSet<QString> before = test::warnings(tiff);
        ImageBox box;
        box.LoadFromFile(tiff);
        ASSERT_TRUE(box.SetExifAttribute("Artist", "Someone"));
        box.SaveJpegMetadata(tiff);
        box.AddIptcKeyword("lake");
        box.SaveJpegMetadata(tiff);
        EXPECT_EQ(test::makerNotes(tiff).toStdString(), notes.toStdString());
        EXPECT_EQ(test::tag(tiff, "Artist"), "Someone");
        EXPECT_TRUE((test::warnings(tiff) - before).isEmpty());
    }
}

TEST(MetadataWrittenBack, TiffKeepsTheSourceResolution) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    for (uint32_t dpi : {300u, 180u, 350u}) {
        test::CameraExif o;
        o.xDpi = dpi;
        const QString source = writeCamera(dir, QString("dpi%1.jpg").arg(dpi), o);
        ImageBox box;
        box.LoadFromFile(source);
        const QString out = dir.filePath(QString("dpi%1.tif").arg(dpi));
        box.SaveToFile(out);
        EXPECT_EQ(test::tag(out, "XResolution"), QString::number(dpi));
        EXPECT_EQ(test::tag(out, "YResolution"), QString::number(dpi));
        EXPECT_EQ(test::tag(out, "ResolutionUnit"), "2");
    }
}

// A profile goes with the pixels into every format that can hold one.
TEST(MetadataWrittenBack, ColourProfileAndXmpTravel) {
    if (!test::haveExiftool())
        GTEST_SKIP() << "exiftool is not installed";
    QTemporaryDir dir;
    const QByteArray icc = test::displayP3Profile();
    ASSERT_FALSE(icc.isEmpty());
    const QByteArray xmp("<x:xmpmeta xmlns:x='adobe:ns:meta/'><rdf:RDF "
                         "xmlns:rdf='http://www.w3.org/1999/02/22-rdf-syntax-ns#'><rdf:Description "
                         "xmlns:dc='http://purl.org/dc/elements/1.1/' dc:format='image/jpeg'/>"
                         "</rdf:RDF></x:xmpmeta>");
    const QString source = writeCamera(dir, "p3.jpg", {}, test::quadrantPicture(64, 48), icc, xmp);
    ImageBox box;
    box.LoadFromFile(source);
    for (const char* ext : {"jpg", "tif", "png"}) {
        const QString out = dir.filePath(QString("p3.") + ext);
        box.SaveToFile(out);
        EXPECT_EQ(test::binaryTag(out, "ICC_Profile"), icc) << ext;
        if (QString(ext) != "png") {
            EXPECT_EQ(test::tag(out, "XMP-dc:Format"), "image/jpeg") << ext;
        }
    }
}

} // namespace
} // namespace picbasket
