// Printing every image of the basket: the print dialog once, then one page per row
// in one job, behind the wait dialog.
#include "browser/BasketPane.h"

#include "browser/PaneQueries.h"
#include "browser/PreviewedFile.h"
#include "browser/PrintSettings.h"
#include "controls/common/PaneWindow.h"
#include "controls/dialogs/frmStatus.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/setup/modSetup.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBox.h"

#include <QCoreApplication>
#include <QLabel>

namespace picbasket {

// Row 1 is shown before the dialog, so the first page is the first row; a row that
// cannot be loaded gets no page. The job is closed, the wait dialog hidden and the
// settings stored back on every way out.
void BasketPane::subBatchPrint() {
    // The loop lets events run: a second click must not start a second job.
    static bool running = false;
    if (running)
        return;
    errorTail(QStringLiteral("FrmMain.cmdBatchPrint_Click"), [&] {
        CurrentActivity = QStringLiteral("Starting batch printing");
        if (lvPages->Count() == 0)
            return;
        running = true;
        bool& AbortFolderListing = queries_.folderListingAbort();
        AbortFolderListing = false;
        ImageBox& box = preview_.previewBox();
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
            emit showRowRequested(lvPages, row);
            window_.subResize();
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
        wait = &frmStatus::instance(window());
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

} // namespace picbasket
