#pragma once
#include "platform/print/PrintBackend.h"

#include <QPainter>
#include <QPrinter>
#include <functional>

class QPrintDialog;

namespace picbasket {

// The printer of the program: one QPrinter kept for the whole run (so the dialog
// opens where the user left it) and Qt's print dialog, which gets a tab of our own
// options ("Image": scale, percent, offsets, centring). Orientation, page size,
// copies and colour are the dialog's own controls. A job is one QPainter on the
// printer: each page after the first starts with newPage, and endJob closes it.
class QtPrintBackend : public PrintBackend {
public:
    QtPrintBackend();
    ~QtPrintBackend() override;

    bool beginJob(PrintSettings& settings, bool showDialog) override;
    bool jobOpen() const override { return painter_.isActive(); }
    void printPage(const QImage& image, const PrintSettings& settings) override;
    void endJob() override;

    QPrinter& printer() { return printer_; }
    // Called with the dialog just before it runs (tests answer it from here).
    void setDialogHook(std::function<void(QPrintDialog&)> hook) { hook_ = std::move(hook); }

private:
    void applySettings(const PrintSettings& settings);
    void readBack(PrintSettings& settings);

    QPrinter printer_;
    QPainter painter_;
    bool firstPage_ = true;
    std::function<void(QPrintDialog&)> hook_;
};

} // namespace picbasket
