// A slide show of 24 generated 6-megapixel JPEGs at quality 80 without tasks, from
// the basket to the finished program file (each image loaded, re-encoded at quality
// 80 and appended), against ImageMagick's `convert -quality 80` re-encoding the same
// files in the same run. Ratios above 1.0 mean we are slower; convert writes 24
// separate files and builds no program.
#include "bench/BenchSupport.h"
#include "controls/dialogs/FakeDialogBackend.h"
#include "core/MessageBox.h"
#include "engine/batch/BasketRows.h"
#include "export/modScreensaver.h"
#include "players/ProgramLayout.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>

using namespace picbasket;
using namespace picbasket::bench;

namespace {

constexpr int images = 24, width = 3000, height = 2000, runs = 3;

bool slideShowOnce(const BasketRows& rows, const QString& output) {
    QFile::remove(output);
    FakeDialogBackend dialogs;
    dialogs.chooseFile(output);
    GeneratorSources sources;
    sources.lvPages = &rows;
    SlideShowParams = {0x00FF0000, 2};
    int16_t quality = 80;
    uint8_t tasks = 0;
    MkSlideShow(sources, quality, tasks);
    QFile file(output);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    layout::ProgramContent content;
    QString error;
    return layout::fncReadProgramContent(file.readAll(), content, error) &&
           content.images.size() == images;
}

bool convertAll(const QStringList& files, const QString& folder) {
    for (const QString& file : files)
        if (!runTool(QStringLiteral("convert"),
                     {file, QStringLiteral("-quality"), QStringLiteral("80"),
                      folder + QLatin1Char('/') + QFileInfo(file).fileName()}))
            return false;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setMessagePresenter([](const MessageRequest& request) {
        std::fprintf(stderr, "%s\n", qPrintable(request.text));
        return mb::OK;
    });
    QTemporaryDir work;
    QStringList files;
    BasketRows rows;
    for (int i = 0; i < images; ++i) {
        const QString path = work.filePath(QStringLiteral("photo%1.jpg").arg(i));
        if (!photoLikeImage(width, height, i).save(path, "JPEG", 80)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            return 1;
        }
        files << path;
        rows.addRow({QFileInfo(path).fileName(), path, {}});
    }
    QDir().mkpath(work.filePath("theirs"));
    const QString output = work.filePath("show.run");
    const double ours = bestSeconds(runs, [&] { return slideShowOnce(rows, output); });
    const double theirs =
        bestSeconds(runs, [&] { return convertAll(files, work.filePath("theirs")); });
    std::printf("slide show of %d JPEGs of %d x %d at quality 80: program %.1f MB\n", images, width,
                height, QFileInfo(output).size() / 1e6);
    std::printf("  slide show %.3f s, convert -quality 80 %.3f s, ratio %.2f\n", ours, theirs,
                ours > 0 && theirs > 0 ? ours / theirs : -1.0);
    return ours > 0 && theirs > 0 ? 0 : 1;
}
