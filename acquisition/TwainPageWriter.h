#pragma once
#include <QString>
#include <functional>

namespace picbasket {

class ImageBox;

// Where scanned pages go on disk, fixed when an acquisition's first page arrives.
struct TwainDiskTarget {
    QString folder;      // with or without a trailing "/"
    QString genericName; // the start of every file name
    QString extension;   // ".bmp", ".tif", ".pdf", ...
    bool multipage = false;
    bool overwrite = false;
};

// Names and writes the pages of one acquisition.
//
// Single-page files are folder/name<n><ext>. With overwrite, n is the page number
// and an existing file is replaced. Without it nothing is replaced: n starts at the
// page number and moves past every name that is taken, and each later page takes a
// number above the one before, so a second run continues where the first ended.
//
// A multipage file is folder/name<ext>, chosen at page 1 and kept for the run. With
// overwrite, page 1 starts it afresh; without it, a taken name becomes
// name_2<ext>, name_3<ext>, ... Later pages are appended (PDF or TIFF by extension).
//
// Every disk page sets its own TIFF compression: CCITT Group 4 for a 1-bit page
// (ColorFormat 6), none for the others. A missing folder is created.
//
// Basket pages are exact TIFF copies in the temporary page folder, named
// <n>_<draw>.tif with draw below 9999, created exclusively: a taken name is drawn
// again, so no page file of another row is ever replaced.
class TwainPageWriter {
public:
    TwainPageWriter();

    // Uniform in [0, 1) for the basket names; tests set their own.
    std::function<double()> random;

    // Starts an acquisition to disk.
    void begin(const TwainDiskTarget& target);
    // Writes the box's page (1-based number) and returns its path. Raises AppError
    // when it cannot be written, or for a later page when page 1 never started the
    // multipage file.
    QString writeToDisk(ImageBox& box, int pageNumber);
    // Writes the page into a new file of the folder and returns its path.
    QString writeToBasket(ImageBox& box, int pageNumber, const QString& folder);

    const TwainDiskTarget& target() const { return target_; }

private:
    QString folderPath(const QString& name) const;
    QString singlePagePath(int pageNumber);
    QString multipagePath() const;

    TwainDiskTarget target_;
    int lastNumber_ = 0;
    QString multipageFile_;
};

} // namespace picbasket
