#include "Version.h"
#include "app/PicBasketApplication.h"
#include "controls/common/QtMessagePresenter.h"
#include "core/Globals.h"
#include "platform/print/QtPrintBackend.h"
#include "platform/scan/ScanSettingsDialog.h"
#include "shell/errors/frmErrorReport.h"
#include "shell/mainwindow/frmMain.h"

#include <QTimer>

using namespace picbasket;

int main(int argc, char** argv) {
    PicBasketApplication app(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(version::Title));
    QApplication::setApplicationVersion(QString::fromLatin1(version::Version));
    installQtMessagePresenter();
    installErrorReportWindow();
    installScanSettingsDialog();
    subInitGlobals();
    QtPrintBackend printer;
    setPrintBackend(&printer);

    frmMain window;
    // A second copy has shown its refusal and ends here.
    if (!window.Form_Load())
        return 0;
    window.setWindowTitle(ApplicationTitle);
    window.show();

    // Used by the smoke test: close the window after the given time.
    const int quitAfter = qEnvironmentVariableIntValue("PICBASKET_QUIT_AFTER_MS");
    if (quitAfter > 0)
        QTimer::singleShot(quitAfter, &window, &QWidget::close);
    return app.exec();
}
