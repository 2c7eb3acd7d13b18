#pragma once
#include "browser/FolderListing.h"
#include "browser/PageFiles.h"

#include <QImage>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

namespace picbasket {

struct BasketRow;
class ImageBox;
class WaitIndicator;

// A folder row to add, copied before the add's first event pump so that a new
// listing or a click cannot change it under the add; position is its row number in
// the folder list.
struct BasketSource {
    FolderRow row;
    int position = 0;
};

// Adds folder rows to the image basket: a single-page file becomes one row, a
// multipage file one temporary page file and row per page (the preview is never
// touched). A TIFF's pages are copied as stored and thumbnailed from a reduced
// decode on several threads, and added in page order; other multipage files are
// split in a working image box of the adder's own. The window supplies the basket
// and the progress through the hooks; the adder lets events run before each file
// and each page, and stops there when CancelOperation is set (a split of many
// pages shows the wait dialog, whose Cancel sets it); the rows added stay.
class BasketAdder {
public:
    // Command: the add button and its kin ("scan1", thumbnails from the page in
    // memory). Drop: rows dragged onto the basket ("scan(1)", thumbnails from the
    // written page file, each file's last row reported to fileAdded). BasketFile: a
    // file of a reopened basket list, named and split as the command does, without
    // the duplicate test, the status texts, the progress or filling a folder row.
    enum class Mode { Command, Drop, BasketFile };

    BasketAdder();
    ~BasketAdder();

    // True when the source file (a folder row's tag) already stands in a basket row.
    std::function<bool(const QString& source)> inBasket;
    // Adds a basket row with its thumbnail; returns the row's number.
    std::function<int(const BasketRow& row, const QImage& thumbnail)> addRow;
    // The add found an empty resolution and measured the file: the folder row of that
    // path gets it too.
    std::function<void(const QString& path, const QString& resolution)> fillResolution;
    std::function<void(const QString& text)> status;
    std::function<void(int maximum, int value)> progress;
    std::function<void()> pumpEvents;
    // Drop: the last row added for one file.
    std::function<void(int row)> fileAdded;
    // A file that gave no row (unreadable, damaged, gone), with the reason; the add
    // goes on with the next file.
    std::function<void(const QString& path, const QString& reason)> notAdded;
    // The wait dialog shown, with the page count as its progress, while a file of at
    // least WaitDialogPages pages is split (not for a reopened basket list).
    std::function<WaitIndicator*()> waitDialog;
    static constexpr int WaitDialogPages = 20;

    int thumbnailWidth = 40;
    int thumbnailHeight = 40;
    PageFiles pageFiles;

    // Adds the sources in order; listRows is the progress maximum of the command
    // (the folder list's row count). False, doing nothing, while another add runs.
    // A file that cannot be read goes to notAdded (when set; else its AppError is
    // raised); the rows added so far stay.
    bool add(const std::vector<BasketSource>& sources, int listRows, Mode mode);
    bool isRunning() const { return running_; }
    // Whether the last add stopped at a Cancel.
    bool wasCancelled() const { return cancelled_; }
    // The pages of a file as the adder's own image box counts them.
    int pageCountOf(const QString& path) const;

private:
    void addFile(const BasketSource& source, int pages, Mode mode);
    void addSingle(const BasketSource& source, Mode mode);
    void split(const BasketSource& source, int pages, Mode mode);
    void splitTiff(const BasketSource& source, const QByteArray& tiff, int pages, Mode mode);
    int addPage(const BasketSource& source, int page, Mode mode);
    void splitStatus(const BasketSource& source, int page, int pages, Mode mode) const;
    void report(int maximum, int value) const;
    bool cancelRequested();

    // The wait dialog of one split, closed on every way out of it.
    class SplitWait {
    public:
        SplitWait(BasketAdder& adder, int pages, Mode mode);
        ~SplitWait();
        SplitWait(const SplitWait&) = delete;
        SplitWait& operator=(const SplitWait&) = delete;
        void page(int page);

    private:
        WaitIndicator* wait_ = nullptr;
    };

    std::unique_ptr<ImageBox> pages_;
    bool running_ = false;
    bool cancelled_ = false;
};

} // namespace picbasket
