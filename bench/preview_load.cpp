// A row click on a 24-megapixel JPEG through the main window's own entry, against
// djpeg decoding the same file in the same run: "shown" ends when the fitted image
// is painted, "ready" when the full image and the copy as loaded are complete.
// A ratio below 1.0 means we are faster.
#include "bench/BenchSupport.h"
#include "editing/EditViewSplitters.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBoxView.h"
#include "editing/EditImageData.h"
#include "shell/mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMenu>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
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
    // The browser's layout, as after start-up (a window made here starts detached).
    subAttachForExplorerView(*window.splMain, *window.splRight, *window.splView, window.previewPane().view());
    window.previewPane().fitMenu()->actions().at(0)->setChecked(true);
    window.resize(1200, 900);
    window.show();
    window.subResize();
    QApplication::processEvents();
    const int row = window.folderPane().list()->AddItem(QStringLiteral("photo.jpg"));
    window.folderPane().list()->setTag(row, photo);

    // Best of the runs for each moment; -1 when a run showed the wrong thing.
    double shown = 1e9, ready = 1e9;
    for (int i = 0; i < runs && shown >= 0; ++i) {
        window.fileListFocus().PicTiffTag.clear();
        QElapsedTimer timer;
        timer.start();
        window.previewPane().subShowSelectedFile(window.folderPane().list(), row);
        window.previewPane().box()->repaint();
        const double atShown = timer.nsecsElapsed() / 1e9;
        ImageBox& box = window.previewPane().box()->box();
        box.WaitForLoad();
        const double atReady = timer.nsecsElapsed() / 1e9;
        if (window.fileListFocus().PicTiffTag != photo || box.ImageWidth() != photoWidth ||
            OriginalImageData.width() != photoWidth || box.image().width() != photoWidth) {
            shown = ready = -1;
            break;
        }
        shown = std::min(shown, atShown);
        ready = std::min(ready, atReady);
    }
    const QString out = dir.filePath(QStringLiteral("photo.ppm"));
    const double theirs = bestSeconds(runs, [&] {
        return runTool(QStringLiteral("djpeg"), {QStringLiteral("-outfile"), out, photo});
    });
    std::printf("row click to the fitted 24 MP JPEG painted: %.3f s\n", shown);
    std::printf("row click to the full image and its copy as loaded: %.3f s\n", ready);
    std::printf("djpeg decode of the same file: %.3f s\n", theirs);
    if (shown < 0 || theirs < 0) {
        std::fprintf(stderr, "a run failed (is djpeg installed? libjpeg-turbo-progs)\n");
        return 1;
    }
    std::printf("preview load ratio %.2f (ours/djpeg)\n", shown / theirs);
    std::printf("preview ready ratio %.2f (ours/djpeg)\n", ready / theirs);
    return 0;
}
