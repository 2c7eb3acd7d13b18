#include "browser/FolderListing.h"

#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/fileinfo/clsFileInfo.h"
#include "engine/loading/clsImageHeaderInfo.h"
#include "engine/loading/modBitmapPro.h"
#include "platform/imagebox/ImageBox.h"

#include <QDir>
#include <QTimer>

namespace picbasket {

namespace {

// Invalid property value and device unavailable end a listing without a report.
constexpr int32_t InvalidPropertyValue = 380;
constexpr int32_t DeviceUnavailable = 68;

bool isOneOf(const QString& extension, std::initializer_list<const char*> list) {
    for (const char* item : list)
        if (extension == QLatin1String(item))
            return true;
    return false;
}

} // namespace

FolderListing::FolderListing(const ImageBox& pageCounter, QObject* parent)
    : QObject(parent), pageCounter_(pageCounter) {}

void FolderListing::start(const QString& folder, const QStringList& names, const Options& options) {
    ++generation_;
    folder_ = folder;
    names_ = names;
    options_ = options;
    next_ = 0;
    running_ = true;
    scheduleTurn();
}

void FolderListing::stop() {
    ++generation_;
    running_ = false;
}

void FolderListing::scheduleTurn() {
    const int generation = generation_;
    QTimer::singleShot(0, this, [this, generation] { turn(generation); });
}

void FolderListing::turn(int generation) {
    if (generation != generation_ || !running_)
        return;
    if (next_ >= names_.size())
        return finish(false);
    const QString& name = names_.at(next_);
    CurrentActivity = QStringLiteral("Displaying files from selected folder - '%1'  - %2")
                          .arg(names_.size())
                          .arg(name);
    if (abortRequested && abortRequested())
        return finish(true);
    try {
        const FolderRow row = readFile(folder_, name);
        ++next_;
        if (!row.text.isEmpty())
            emit RowReady(row);
        emit Progress(next_);
    } catch (const AppError& error) {
        if (error.number() != InvalidPropertyValue && error.number() != DeviceUnavailable)
            subGlobalErrorHandler(error.description(), error.number(), error.line(),
                                  QStringLiteral("FrmMain.subShowFilesInFolder"));
        return finish(true);
    }
    // A slot of RowReady or Progress may have started a newer listing.
    if (generation == generation_)
        scheduleTurn();
}

void FolderListing::finish(bool stopped) {
    running_ = false;
    emit Finished(stopped);
}

FolderRow FolderListing::readFile(const QString& folder, const QString& name) const {
    FolderRow row;
    const QString path = QDir(folder).filePath(name);
    clsFileInfo& info = FileInfo();
    info.setFilePath(path);
    const QString extension = info.fFileExtention().toLower();
    if (extension == QLatin1String("tif") || extension == QLatin1String("tiff"))
        readPages(path, row);
    else
        row.subItems[2] = QStringLiteral("1");
    if (options_.details) {
        row.subItems[0] = detailsResolution(path, extension);
    } else {
        row.thumbnail = thumbnailOf(path, row.subItems[0]);
        if (row.thumbnail.isNull())
            return {};
    }
    row.text = name;
    row.tag = path;
    // The thumbnail load may have used the shared object; describe this file again.
    if (info.FilePath() != path)
        info.setFilePath(path);
    row.subItems[1] = info.fSizeFormated(options_.sizeFormat);
    row.subItems[3] = info.fType();
    row.subItems[4] = info.fDateCreated();
    row.subItems[5] = info.fDateModified();
    row.subItems[6] = info.fDateAccessed();
    return row;
}

// A damaged multipage file counts as one page.
void FolderListing::readPages(const QString& path, FolderRow& row) const {
    int pages = 1;
    try {
        pages = pageCounter_.PageCountOfFile(path);
    } catch (const AppError& error) {
        if (error.number() != err::Unexpected)
            throw;
    }
    row.subItems[2] = QString::number(pages);
}

// Width X height X bits per pixel from the header of the seven types the reader
// knows; empty for other types and for a file whose header cannot be read (gone or
// damaged since the folder was read), so one bad file never ends the listing.
QString FolderListing::detailsResolution(const QString& path, const QString& extension) const {
    clsImageHeaderInfo header;
    bool read = false;
    if (isOneOf(extension, {"tiff", "tif", "jpeg", "jpg", "png"})) {
        read = header.ReadJPEG_TIFF_PNG_Header(path);
    } else if (isOneOf(extension, {"bmp", "gif"})) {
        try {
            header.ReadGIF_BMP_Header(path);
            read = true;
        } catch (const AppError&) {
            read = false;
        }
    }
    if (!read || header.Width() <= 0 || header.Height() <= 0)
        return {};
    return QStringLiteral("%1 X %2 X %3")
        .arg(header.Width())
        .arg(header.Height())
        .arg(header.BitsPerPixel());
}

QImage FolderListing::thumbnailOf(const QString& path, QString& resolution) const {
    if (!clsFileInfo::CheckIfFileExists(path))
        return {};
    int32_t width = 0;
    int32_t height = 0;
    QImage picture = LoadPic(path, sizemode::Box, options_.thumbnailWidth, options_.thumbnailHeight,
                             0xFFFFFF, width, height);
    if (!picture.isNull())
        resolution = QStringLiteral("%1 x %2").arg(width).arg(height);
    return picture;
}

} // namespace picbasket
