#pragma once
#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <functional>

namespace picbasket {

// The thumbnail box of the folder list in pixels, copied from the setup record at
// start and by the settings dialog, written back at exit.
inline int32_t ThumbnailWidth = 40;
inline int32_t ThumbnailHeight = 40;

class ImageBox;

// One row of the folder list as the listing makes it.
struct FolderRow {
    QString text; // the file name with its extension
    QString tag;  // the full path
    // Resolution, Size, Pages, Type, Date Created, Date Modified, Date Accessed.
    std::array<QString, 7> subItems;
    QImage thumbnail; // thumbnail view only: exactly the thumbnail box
};

// Lists the files of one folder into rows, one file per turn of the event loop, so the
// window stays usable. Every start gets a new generation number; a turn of an older
// generation does nothing, so a listing never adds a row after a newer one started.
// The abort test is asked before each file; a true answer ends the listing.
class FolderListing : public QObject {
    Q_OBJECT

public:
    struct Options {
        bool details = false; // details view: header sizes, no decoding
        int thumbnailWidth = 40;
        int thumbnailHeight = 40;
        uint8_t sizeFormat = 0; // the size text mode of the file information
    };

    // The box counts the pages of TIFF files; it must outlive the listing.
    explicit FolderListing(const ImageBox& pageCounter, QObject* parent = nullptr);

    // Starts listing the names (files of the folder); a running listing is dropped.
    void start(const QString& folder, const QStringList& names, const Options& options);
    // Drops a running listing before its next file, without Finished.
    void stop();
    bool isRunning() const { return running_; }
    int generation() const { return generation_; }

    // Asked before each file; when it answers true the listing stops.
    std::function<bool()> abortRequested;

    // The row of one file, or a row without text when thumbnail view leaves the file
    // out. Raises AppError for failures the listing does not absorb.
    FolderRow readFile(const QString& folder, const QString& name) const;

signals:
    void RowReady(const FolderRow& row);
    // Files done so far (rows added or left out).
    void Progress(int done);
    // The listing ended: at the last file, stopped by the abort test, or by an error.
    void Finished(bool stopped);

private:
    void scheduleTurn();
    void turn(int generation);
    void finish(bool stopped);
    void readPages(const QString& path, FolderRow& row) const;
    QString detailsResolution(const QString& path, const QString& extension) const;
    QImage thumbnailOf(const QString& path, QString& resolution) const;

    const ImageBox& pageCounter_;
    QString folder_;
    QStringList names_;
    Options options_;
    int next_ = 0;
    int generation_ = 0;
    bool running_ = false;
};

} // namespace picbasket
