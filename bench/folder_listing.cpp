// Time to the last row of a folder listing (the listing job the main window runs,
// one file per turn of the event loop), against the outside tools on the same files
// in the same run: thumbnail view of 200 photo-sized JPEGs against vipsthumbnail,
// details view of 2,000 files against `identify -ping`. Ratios below 1.0 mean we
// are faster.
#include "bench/BenchSupport.h"
#include "browser/FileListBox.h"
#include "browser/FolderListing.h"
#include "platform/imagebox/ImageBox.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>

using namespace picbasket;
using namespace picbasket::bench;

namespace {

constexpr int photos = 200, photoWidth = 3000, photoHeight = 2000;
constexpr int detailFiles = 2000;
constexpr int thumbnailSide = 40;

QStringList listedNames(const QString& folder) {
    FileListBox box;
    box.Pattern = QStringLiteral("*.jpg*;*.jpeg*;*.tif*;*.tiff*;*.gif*;*.bmp*;*.png*");
    box.Path = folder;
    box.Refresh();
    return box.names();
}

// Seconds to the last row, and the number of rows.
double timeListing(const QString& folder, bool details, int& rows) {
    ImageBox box;
    FolderListing job(box);
    rows = 0;
    bool done = false;
    QObject::connect(&job, &FolderListing::RowReady, [&](const FolderRow&) { ++rows; });
    QObject::connect(&job, &FolderListing::Finished, [&](bool) { done = true; });
    FolderListing::Options options;
    options.details = details;
    options.thumbnailWidth = thumbnailSide;
    options.thumbnailHeight = thumbnailSide;
    QElapsedTimer timer;
    timer.start();
    job.start(folder, listedNames(folder), options);
    while (!done)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return timer.nsecsElapsed() / 1e9;
}

QStringList paths(const QString& folder) {
    QStringList out;
    for (const QString& name : listedNames(folder))
        out << QDir(folder).filePath(name);
    return out;
}

void makePhotos(const QString& folder) {
    for (int i = 0; i < photos; ++i)
        photoLikeImage(photoWidth, photoHeight, i)
            .save(QDir(folder).filePath(QString("photo%1.jpg").arg(i, 3, 10, QChar('0'))), "JPEG",
                  90);
}

// Small files of four header types (Qt writes no GIF), round-robin.
void makeDetailFiles(const QString& folder) {
    const char* kinds[][2] = {
        {"jpg", "JPEG"}, {"png", "PNG"}, {"tif", "TIFF"}, {"bmp", "BMP"}, {"jpeg", "JPEG"}};
    for (int i = 0; i < detailFiles; ++i) {
        const auto& kind = kinds[i % 5];
        photoLikeImage(64 + i % 7, 48 + i % 5, i)
            .save(
                QDir(folder).filePath(QString("file%1.%2").arg(i, 4, 10, QChar('0')).arg(kind[0])),
                kind[1]);
    }
}

// Seconds one run of the outside tool takes, -1 when it is missing or fails.
double timeTool(const char* tool, const QStringList& args) {
    const QString program = QStandardPaths::findExecutable(QString::fromLatin1(tool));
    if (program.isEmpty())
        return -1;
    QElapsedTimer timer;
    timer.start();
    return runTool(program, args) ? timer.nsecsElapsed() / 1e9 : -1;
}

void compare(const char* what, double ours, double theirs) {
    std::printf("%s: ours %.3f s, theirs %.3f s, ratio %.2f\n", what, ours, theirs,
                theirs > 0 ? ours / theirs : -1.0);
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir root;
    const QString photoFolder = root.filePath("photos");
    const QString detailFolder = root.filePath("details");
    QDir().mkpath(photoFolder);
    QDir().mkpath(detailFolder);
    std::printf("making %d JPEGs of %d x %d and %d small files...\n", photos, photoWidth,
                photoHeight, detailFiles);
    makePhotos(photoFolder);
    makeDetailFiles(detailFolder);

    int rows = 0;
    const double oursThumbs = timeListing(photoFolder, false, rows);
    std::printf("thumbnail listing: %d rows\n", rows);
    const QString out = root.filePath("vips");
    QDir().mkpath(out);
    const double theirsThumbs =
        timeTool("vipsthumbnail", QStringList{"-s", QString("%1x%1").arg(thumbnailSide), "-o",
                                              QDir(out).filePath("%s.jpg")} +
                                      paths(photoFolder));
    compare("thumbnail view, 200 JPEGs vs vipsthumbnail", oursThumbs, theirsThumbs);

    const double oursDetails = timeListing(detailFolder, true, rows);
    std::printf("details listing: %d rows\n", rows);
    const double theirsDetails =
        timeTool("identify", QStringList{"-ping", "-format", "%w %h %z\\n"} + paths(detailFolder));
    compare("details view, 2000 files vs identify -ping", oursDetails, theirsDetails);
    return 0;
}
