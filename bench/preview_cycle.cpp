// What every Preview, Reset, Confirm and task-basket replay pays to keep or restore
// the preview: one lossless in-memory TIFF copy of the image (SaveToMemory with
// format 7) and its restoration (LoadFromMemory), on a 24-megapixel RGB image. The
// floor no copy can beat is one memcpy of the same pixels, timed in the same run.
// A figure, not a test.
#include "bench/BenchSupport.h"
#include "platform/imagebox/ImageBox.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <vector>

using namespace picbasket;

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QImage image = bench::photoLikeImage(6000, 4000).convertToFormat(QImage::Format_RGB888);
    ImageBox box;
    box.setImage(image);
    const qsizetype bytes = image.sizeInBytes();

    QByteArray copy;
    const double cycle = bench::bestSeconds(3, [&] {
        copy = box.SaveToMemory(ImageBox::FormatTiff);
        box.LoadFromMemory(ImageBox::FormatTiff, copy);
        return box.HasImage() && box.ImageWidth() == 6000;
    });
    std::vector<uchar> target(static_cast<size_t>(bytes));
    const double floor = bench::bestSeconds(3, [&] {
        std::memcpy(target.data(), image.constBits(), size_t(bytes));
        return target[size_t(bytes) / 2] == image.constBits()[bytes / 2];
    });
    std::printf(
        "preview cycle (SaveToMemory 7 + LoadFromMemory 7), 6000 x 4000 RGB, %.1f MB TIFF\n",
        copy.size() / 1e6);
    std::printf("ours %.3f s, memcpy %.4f s, ratio %.1f\n", cycle, floor,
                floor > 0 ? cycle / floor : 0.0);
    return cycle < 0 || floor < 0 ? 1 : 0;
}
