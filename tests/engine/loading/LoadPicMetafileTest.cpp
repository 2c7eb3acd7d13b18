#include "engine/loading/modBitmapPro.h"
#include "tests/common/TestSupport.h"
#include "tests/platform/metafile/MetafileFixtures.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

bool near(QRgb a, QRgb b, int tolerance) {
    return std::abs(qRed(a) - qRed(b)) <= tolerance &&
           std::abs(qGreen(a) - qGreen(b)) <= tolerance &&
           std::abs(qBlue(a) - qBlue(b)) <= tolerance;
}

} // namespace

// Metafiles reach the metafile player through LoadPic's GDI+ route: the picture is
// the drawing at the size of each size mode, the size reported is its own.
TEST(LoadPicMetafile, BothKindsAtEverySizeMode) {
    QTemporaryDir dir;
    const struct {
        const char* name;
        QByteArray bytes;
    } files[] = {{"clip.wmf", metafixture::wmfScene(true)},
                 {"bare.wmf", metafixture::wmfScene(false)},
                 {"chart.emf", metafixture::emfScene()}};
    const struct {
        int mode, maxW, maxH;
        QRect drawn;
    } modes[] = {
        {0, -1, -1, {0, 0, 192, 96}}, {1, 96, 96, {0, 0, 96, 48}}, {2, 160, 120, {0, 20, 160, 80}}};
    for (const auto& file : files) {
        QFile out(dir.filePath(file.name));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(file.bytes);
        out.close();
        for (const auto& mode : modes) {
            int32_t w = 0, h = 0;
            const QImage picture =
                LoadPic(out.fileName(), mode.mode, mode.maxW, mode.maxH, 0xFFFFFF, w, h);
            const std::string what = std::string(file.name) + " mode " + std::to_string(mode.mode);
            ASSERT_FALSE(picture.isNull()) << what;
            EXPECT_EQ(picture.size(), mode.mode == 2 ? QSize(160, 120) : mode.drawn.size()) << what;
            EXPECT_EQ(QSize(w, h), QSize(192, 96)) << what;
            for (const auto& probe : metafixture::sceneProbes()) {
                const QPoint at(int(mode.drawn.x() + probe.fx * mode.drawn.width()),
                                int(mode.drawn.y() + probe.fy * mode.drawn.height()));
                EXPECT_TRUE(near(picture.pixel(at), probe.colour, 40))
                    << what << ": " << probe.what;
            }
        }
    }
}
