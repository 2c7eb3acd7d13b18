// The frame and shadow builder on a 4000 x 3000 image, against stamping every
// frame piece onto the image one by one with MergeBitmap (the plain way, which
// blends the whole image once per piece), in the same run. Best of three runs
// each; ratios below 1.0 mean the builder is faster.
#include "engine/tasks/FrameArtwork.h"
#include "engine/tasks/modFrames.h"
#include "platform/imagebox/ImageBox.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <functional>

using namespace picbasket;

namespace {

constexpr int width = 4000, height = 3000, runs = 3;

double bestOf(const std::function<void(ImageBox&)>& work) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QImage image(width, height, QImage::Format_RGB888);
        image.fill(QColor(90, 140, 200));
        ImageBox box;
        box.setImage(image);
        QElapsedTimer timer;
        timer.start();
        work(box);
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// The pieces of one style stamped one at a time, with the canvas grown first.
void stampPieceByPiece(ImageBox& box, size_t s) {
    const FrameArtwork& a = FrameArtwork::current();
    box.Crop(-a.pleft[s].width(), -a.pTop_left[s].height(),
             box.ImageWidth() + a.pRight[s].width() - 2,
             box.ImageHeight() + a.pBottom_left[s].height() - 2);
    box.setMergeStyle(1);
    auto stamp = [&](const QImage& piece, int x, int y) {
        box.setMergeX(x);
        box.setMergeY(y);
        box.MergeBitmap(piece);
    };
    const int w = box.ImageWidth(), h = box.ImageHeight();
    stamp(a.pTop_left[s], 0, 0);
    for (int x = a.pTop_left[s].width(); x < w; x += a.pTop_middle[s].width())
        stamp(a.pTop_middle[s], x, 0);
    stamp(a.pTop_right[s], w - a.pTop_right[s].width(), 0);
    for (int y = a.pTop_left[s].height(); y < h; y += a.pleft[s].height()) {
        stamp(a.pleft[s], 0, y);
        stamp(a.pRight[s], w - a.pRight[s].width(), y);
    }
    const int bottom = h - a.pBottom_left[s].height();
    stamp(a.pBottom_left[s], 0, bottom);
    for (int x = a.pTop_left[s].width(); x < w; x += a.pTop_middle[s].width())
        stamp(a.pBottom_middle[s], x, bottom);
    stamp(a.pBottom_right[s], w - a.pTop_right[s].width(), bottom);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::printf("%d x %d image, best of %d\n", width, height, runs);
    for (int16_t style : {int16_t(1), int16_t(12)}) {
        const double ours = bestOf([&](ImageBox& box) { subApplyFrame(style, box, 1, false); });
        const double plain = bestOf([&](ImageBox& box) { stampPieceByPiece(box, size_t(style)); });
        std::printf("style %2d: builder %8.1f ms, piece by piece %8.1f ms, ratio %.3f\n", style,
                    ours, plain, ours / plain);
    }
    const double mask = bestOf([](ImageBox& box) {
        box.setMergeTransparent(true);
        subApplyMask(0, box);
    });
    std::printf("mask 0 resized and stamped: %.1f ms\n", mask);
    return 0;
}
