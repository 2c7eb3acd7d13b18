#include "core/AppError.h"
#include "platform/imagebox/ExifOrientation.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/platform/metadata/CameraFixtures.h"
#include "tests/platform/metadata/MetadataFixtures.h"

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

} // namespace
} // namespace picbasket
