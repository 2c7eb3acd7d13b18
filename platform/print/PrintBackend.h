#pragma once
#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <cstdint>

namespace picbasket {

// The image box's print settings, named by the print properties that hold them.
//   P84  orientation: 0 portrait, 1 landscape
//   P85  left offset of the image on the page, millimetres
//   P86  top offset, millimetres
//   P87  page size: a QPageSize::PageSizeId, -1 the printer's default
//   P88  scale: 0 fit the page, 1 the image's own resolution, 2 P8B percent of it
//   P8A  copies
//   P8B  the percent of scale 2
//   P8C  centred left to right (the left offset is then not used)
//   P8D  centred top to bottom (the top offset is then not used)
//   P11B 0 colour, 1 grey
struct PrintSettings {
    uint8_t P84 = 0;
    double P85 = 0;
    double P86 = 0;
    int32_t P87 = -1;
    uint8_t P88 = 0;
    int32_t P8A = 1;
    double P8B = 100;
    bool P8C = false;
    bool P8D = false;
    int32_t P11B = 0;

    bool operator==(const PrintSettings&) const = default;
};

// The printer as the image box sees it: one job at a time, opened with or without
// the print dialog and closed by endJob. The real one (QtPrintBackend, platformui)
// drives a QPrinter; tests answer its dialog or use a recorder of their own.
class PrintBackend {
public:
    virtual ~PrintBackend() = default;
    // Opens a job. With the dialog, the user sees the settings and what they chose
    // comes back in them; false when the dialog was cancelled (no job is open then).
    virtual bool beginJob(PrintSettings& settings, bool showDialog) = 0;
    virtual bool jobOpen() const = 0;
    // Puts the image on the next page of the open job.
    virtual void printPage(const QImage& image, const PrintSettings& settings) = 0;
    // Finishes the job (a print to a file is complete from here on).
    virtual void endJob() = 0;
};

// The backend every image box prints through (none until the program or a test
// installs one); returns the previous. The caller keeps ownership.
PrintBackend* setPrintBackend(PrintBackend* backend);
PrintBackend* printBackend();

// Where the image goes on the page, in millimetres from the top left of the
// printable area `area`: its size by the scale setting (the image's resolution
// from its dots per metre, 96 dpi when it has none), its place by the offsets or
// centred. Fitting keeps the aspect ratio within the area less the offsets.
QRectF fncPrintPlacement(const QSizeF& area, const QImage& image, const PrintSettings& settings);

} // namespace picbasket
