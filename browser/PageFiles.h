#pragma once
#include <QString>
#include <functional>

namespace picbasket {

class ImageBox;

// The temporary page files of split multipage files. Page p of "scan.tif" is
// folder/scan.tif<p>_<n>.tif, n the integer part of 9999 times a uniform draw below 1.
// A name that is taken is drawn again, and the file is created exclusively, so two
// pages never share a file and no file of another run is overwritten.
class PageFiles {
public:
    explicit PageFiles(QString folder = {});

    QString folder() const { return folder_; }
    void setFolder(const QString& folder) { folder_ = folder; }

    // Uniform in [0, 1); the process-wide generator unless a test sets another.
    std::function<double()> random;

    // The name of a page for one draw, without the folder.
    static QString nameFor(const QString& fileName, int page, double draw);

    // Writes the box's image exactly (SaveExactTiff) into a new page file and returns
    // its path. Raises AppError 0x8000FFFF when the file cannot be written, or when
    // no free name turns up in many draws.
    QString write(ImageBox& box, const QString& fileName, int page) const;
    // Writes a page file already made (the bytes of a one-page TIFF) in the same
    // way; `beforeCommit` may still change the finished file before it takes its
    // name (metadata).
    QString write(const QByteArray& tiff, const QString& fileName, int page,
                  const std::function<void(const QString&)>& beforeCommit = {}) const;

private:
    // Draws names until `create` makes a file that did not exist.
    QString writeNew(const QString& fileName, int page,
                     const std::function<bool(const QString& path)>& create) const;

    QString folder_;
};

} // namespace picbasket
