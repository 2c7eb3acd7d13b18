#pragma once
#include <QByteArray>
#include <QString>
#include <tiffio.h>

namespace picbasket::imagebox {

// A TIFF "file" in a byte array, for libtiff's client procedures: reads come out of
// the array, writes grow it (doubling its room, so a page written strip by strip is
// not copied again at every strip).
struct TiffMemoryFile {
    QByteArray data;
    qint64 pos = 0;
};

// libtiff handle on a TiffMemoryFile. With `mapped`, libtiff reads strips straight
// out of the array instead of copying them; the array must then not change while
// the handle is open. Null when libtiff refuses the data; its messages go to the
// handlers given.
TIFF* openTiffMemoryFile(TiffMemoryFile& file, const char* mode, bool mapped,
                         TIFFOpenOptions* options);

// The one libtiff handle of the program's TIFF code: a memory file of its own,
// libtiff's errors collected for this handle (and a warning of an I/O error, which
// means the data was cut short), no single allocation above 1 GiB, closed on scope
// exit. With `Reports::AlsoGlobal` every message also goes on to libtiff's global
// handlers, where a running DamageWatch hears it (DecoderDamage.h). A failure to
// open raises AppError 0x8000FFFF.
class TiffHandle {
public:
    enum class Reports { Own, AlsoGlobal };

    TiffHandle(const QByteArray& data, const char* mode, Reports reports = Reports::Own);
    ~TiffHandle();
    TiffHandle(const TiffHandle&) = delete;
    TiffHandle& operator=(const TiffHandle&) = delete;

    TIFF* get() const { return tif_; }
    qint64 dataSize() const { return file_.data.size(); }
    bool hasError() const { return !error_.isEmpty(); }
    // Raises when libtiff reported an error.
    void check(const QString& what) const;
    // Raises with `what` and libtiff's first error.
    [[noreturn]] void fail(const QString& what) const;
    // Makes page `page` (0-based) current; raises when there is no such page.
    void setPage(int page);
    // Closes the handle and gives the bytes written; raises on an error.
    QByteArray finish();

    // Called by libtiff's handlers.
    void noteError(const QString& text);
    bool passesOn() const { return reports_ == Reports::AlsoGlobal; }

private:
    TiffMemoryFile file_;
    QString error_;
    Reports reports_;
    TIFF* tif_ = nullptr;
};

} // namespace picbasket::imagebox
