// Printing every image of the basket: the print dialog once, then one page per row
// in one job, behind the wait dialog.
#include "controls/dialogs/frmStatus.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/setup/modSetup.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBoxView.h"
#include "shell/mainwindow/frmMain.h"

#include <QCoreApplication>
#include <QLabel>

namespace picbasket {

namespace {

// The print settings of the setup record go into the box before printing and come
// back after it, so the dialog's choices become the next defaults.
void putPrintSettings(ImageBox& box, const typPrint& p) {
    box.setPrintProperty8D(p.P8D);
    box.setPrintProperty8C(p.P8C);
    box.setPrintProperty8A(p.P8A);
    box.setPrintProperty87(p.P87);
    box.setPrintProperty85(p.P85);
    box.setPrintProperty86(p.P86);
    box.setPrintProperty84(p.P84);
    box.setPrintProperty11B(p.P11B);
    box.setPrintProperty8B(p.P8B);
    box.setPrintProperty88(p.P88);
}

void takePrintSettings(const ImageBox& box, typPrint& p) {
    p.P8D = box.PrintProperty8D();
    p.P8C = box.PrintProperty8C();
    p.P8A = box.PrintProperty8A();
    p.P87 = box.PrintProperty87();
    p.P85 = box.PrintProperty85();
    p.P86 = box.PrintProperty86();
    p.P84 = box.PrintProperty84();
    p.P11B = box.PrintProperty11B();
    p.P8B = box.PrintProperty8B();
    p.P88 = box.PrintProperty88();
}

} // namespace

// Row 1 is shown before the dialog, so the first page is the first row; a row that
// cannot be loaded gets no page. The job is closed, the wait dialog hidden and the
// settings stored back on every way out.
void frmMain::subBatchPrint() {
    // The loop lets events run: a second click must not start a second job.
    static bool running = false;
    if (running)
        return;
    errorTail(QStringLiteral("FrmMain.cmdBatchPrint_Click"), [&] {
        CurrentActivity = QStringLiteral("Starting batch printing");
        if (lvPages->Count() == 0)
            return;
        running = true;
        AbortFolderListing = false;
        ImageBox& box = preview_->ibMain->box();
        frmStatus* wait = nullptr;
        struct Cleanup {
            bool& running;
            ImageBox& box;
            frmStatus*& wait;
            bool settingsIn = false;
            ~Cleanup() {
                running = false;
                try {
                    box.EndPrintJob();
                } catch (...) {
                }
                if (wait)
                    wait->closeWaiting();
                if (settingsIn)
                    takePrintSettings(box, Setup.Print);
            }
        } cleanup{running, box, wait};
        const auto shows = [&](int row) {
            subShowSelectedFile(lvPages, row);
            subResize();
            return box.HasImage() && box.Tag() == lvPages->Tag(row);
        };
        int first = 1;
        while (first <= lvPages->Count() && !shows(first))
            ++first;
        if (first > lvPages->Count())
            return;
        putPrintSettings(box, Setup.Print);
        cleanup.settingsIn = true;
        box.setPrintProperty89(true);
        if (box.PrintImage() != 1 || first == lvPages->Count())
            return;
        const int rows = lvPages->Count();
        wait = &frmStatus::instance(this);
        wait->showWaiting();
        wait->progress().setMaximum(rows);
        wait->progress().setValue(first);
        for (int i = first + 1; i <= rows && i <= lvPages->Count(); ++i) {
            QCoreApplication::processEvents();
            if (AbortFolderListing || CancelOperation) {
                AbortFolderListing = false;
                CancelOperation = false;
                break;
            }
            if (shows(i)) {
                wait->lblMessage->setText(QStringLiteral("Printing.. ") + lvPages->Text(i));
                box.setPrintProperty89(false);
                box.PrintImage();
            }
            wait->progress().setValue(i);
        }
    });
}

// The preview's print button: the print dialog with the stored settings, which then
// keep what the user chose in it.
void frmMain::cmdPreviewPrint_Click() {
    errorTail(QStringLiteral("FrmMain.cmdPreviewPrint_Click"), [&] {
        ImageBox& box = preview_->ibMain->box();
        if (!box.HasImage())
            return;
        putPrintSettings(box, Setup.Print);
        box.setPrintProperty89(true);
        box.PrintImage();
        box.EndPrintJob();
        takePrintSettings(box, Setup.Print);
    });
}

} // namespace picbasket
