// A row click to the shown image: decoding a 24-megapixel JPEG into the preview,
// its in-memory TIFF copy and the fit, through the main window's own entry, against
// djpeg decoding the same file in the same run. A ratio below 1.0 means we are faster.
#include "bench/BenchSupport.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBoxView.h"
#include "shell/mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

using namespace picbasket;
using namespace picbasket::bench;

namespace {

constexpr int photoWidth = 6000, photoHeight = 4000, runs = 3;

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("photo.jpg"));
    if (!photoLikeImage(photoWidth, photoHeight, 7).save(photo, "JPEG", 90)) {
        std::fprintf(stderr, "cannot write the test photo\n");
        return 1;
    }

    frmMain window;
    window.mnuPreviewFitParent->actions().at(0)->setChecked(true);
    window.resize(1200, 900);
    window.show();
    window.subResize();
    QApplication::processEvents();
    const int row = window.lvFolder->AddItem(QStringLiteral("photo.jpg"));
    window.lvFolder->setTag(row, photo);

    const double ours = bestSeconds(runs, [&] {
        window.PicTiffTag.clear();
        window.subShowSelectedFile(window.lvFolder, row);
        return window.PicTiffTag == photo && window.ibMain->box().ImageWidth() == photoWidth;
    });
    const QString out = dir.filePath(QStringLiteral("photo.ppm"));
    const double theirs = bestSeconds(runs, [&] {
        return runTool(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), out, photo});
    });
    std::printf("row click to shown 24 MP JPEG (decode, TIFF copy, fit): %.3f s\n", ours);
    std::printf("djpeg decode of the same file: %.3f s\n", theirs);
    if (ours < 0 || theirs < 0) {
        std::fprintf(stderr, "a run failed (is djpeg installed? libjpeg-turbo-progs)\n");
        return 1;
    }
    std::printf("preview load ratio %.2f (ours/djpeg)\n", ours / theirs);
    return 0;
}
