#include "acquisition/frmCapture.h"
#include "acquisition/frmTwain.h"
#include "core/ErrorHandler.h"
#include "platform/screen/ScreenGrabber.h"
#include "shell/mainwindow/frmMain.h"

#include <QPointer>
#include <QPushButton>

namespace picbasket {

namespace {

// The one capture dialog, loaded on first use over the main window.
QPointer<frmCapture>& captureDialog() {
    static QPointer<frmCapture> dialog;
    return dialog;
}

} // namespace

void frmMain::connectAcquisition() {
    connect(folder_->cmdCapture, &QPushButton::clicked, this, &frmMain::subShowCaptureDialog);
}

// Screen capture: the capture dialog, modal, owned by the main window.
void frmMain::subShowCaptureDialog() {
    errorTail(QStringLiteral("FrmMain.subShowCaptureDialog"), [&] {
        QPointer<frmCapture>& dialog = captureDialog();
        if (!dialog || dialog->parentWidget() != this)
            dialog = new frmCapture(*this, fncSystemScreenGrabber());
        if (!dialog->isLoaded())
            dialog->Form_Load();
        dialog->exec();
    });
}

// Scanning: the acquisition dialog, modal; a new one each time, as closing it unloads it.
void frmMain::subShowTwainDialog() {
    errorTail(QStringLiteral("FrmMain.subShowTwainDialog"), [&] {
        frmTwain dialog(*this, this);
        dialog.exec();
    });
}

} // namespace picbasket
