// The about menu of the main window: the program's web pages, the help manual and the
// about box.
#include "shell/mainwindow/frmMain.h"

#include "core/Globals.h"
#include "core/MessageBox.h"
#include "platform/shell/modShell.h"
#include "shell/dialogs/frmAbout.h"

#include <QFileInfo>

namespace picbasket {

void frmMain::mnuAbout_Click(int index) {
    const LinkOpenerFn open = LinkOpener ? LinkOpener : LinkOpenerFn(subShellExecute);
    switch (index) {
    case 0: open(frmAbout::webPage() + QStringLiteral("tutorials/")); break;
    case 1: open(frmAbout::webPage()); break;
    case 5: subOpenHelpManual(LinkOpener ? LinkOpener : LinkOpenerFn(subOpenInBrowser)); break;
    case 6: {
        frmAbout about(this, open);
        about.exec();
        break;
    }
    default: break;
    }
}

// The help manual is a few HTML pages found at start (fncFindHelpManual) and opened in
// the user's browser; without them, or without a browser, the user is told where they
// are (or were looked for) instead of nothing happening.
void frmMain::subOpenHelpManual(const LinkOpenerFn& open) {
    if (HelpFile.isEmpty() || !QFileInfo(HelpFile).isFile()) {
        msgBox(QStringLiteral("The help manual was not found:") + QChar(u'\n') +
                   (HelpFile.isEmpty() ? fncHelpManualPlaces() : QStringList{HelpFile}).join(u'\n'),
               mb::Information, ApplicationTitle);
        return;
    }
    if (!open(HelpFile))
        msgBox(QStringLiteral("No web browser could be started for the help manual. It is here:") +
                   QChar(u'\n') + HelpFile,
               mb::Information, ApplicationTitle);
}

} // namespace picbasket
