// The about menu of the main window: the help manual's pages and the about box. The
// program has no web site of its own, so "Tutorials" and "Visit Home Page" open the
// manual's tutorial and first page.
#include "shell/mainwindow/frmMain.h"

#include "core/Globals.h"
#include "core/HelpManual.h"
#include "core/MessageBox.h"
#include "platform/shell/modShell.h"
#include "shell/dialogs/frmAbout.h"

#include <QDir>
#include <QFileInfo>

namespace picbasket {

namespace {

// Opens one page of the manual; without it, or without a browser, the user is told
// where it is (or was looked for) instead of nothing happening.
void openManualPage(const frmMain::LinkOpenerFn& open, const QString& page,
                    const QStringList& places) {
    if (page.isEmpty() || !QFileInfo(page).isFile()) {
        msgBox(QStringLiteral("The help manual was not found:") + QChar(u'\n') +
                   (page.isEmpty() ? places : QStringList{page}).join(u'\n'),
               mb::Information, ApplicationTitle);
        return;
    }
    if (!open(page))
        msgBox(QStringLiteral("No web browser could be started for the help manual. It is here:") +
                   QChar(u'\n') + page,
               mb::Information, ApplicationTitle);
}

} // namespace

void frmMain::mnuAbout_Click(int index) {
    const LinkOpenerFn open = LinkOpener ? LinkOpener : LinkOpenerFn(subOpenInBrowser);
    switch (index) {
    case 0: {
        // The tutorial is a page of the manual the program found at start.
        const QString tutorial =
            HelpFile.isEmpty() ? QString()
                               : QFileInfo(HelpFile).dir().filePath(QStringLiteral("tutorial.html"));
        openManualPage(open, tutorial, helpManualPlaces(QStringLiteral("tutorial.html")));
        break;
    }
    case 1:
    case 5: subOpenHelpManual(open); break;
    case 6: {
        frmAbout about(this, open);
        about.exec();
        break;
    }
    default: break;
    }
}

// The help manual is a few HTML pages found at start (fncFindHelpManual) and opened in
// the user's browser.
void frmMain::subOpenHelpManual(const LinkOpenerFn& open) {
    openManualPage(open, HelpFile, fncHelpManualPlaces());
}

} // namespace picbasket
