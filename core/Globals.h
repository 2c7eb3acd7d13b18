#pragma once
#include "Version.h"

#include <QString>
#include <QStringList>

namespace picbasket {

// The status sentence that long or risky steps set first; the error report carries it.
inline QString CurrentActivity;
// The application title: every message box's title, sent in the error report.
inline QString ApplicationTitle = QStringLiteral("PicBasket");
// Set by the wait dialog's Cancel; long loops test it between items and clear it
// when they stop on it.
inline bool CancelOperation = false;
// Titles of the pages a finished report submission used to leave open. Kept as data
// only: reports are sent directly, so no such window is ever looked for.
inline QStringList SuccessWindowTitles;

// Makes the application title (program title, a blank, the version comments) and the
// success titles; called once at start-up.
inline void subInitGlobals() {
    SuccessWindowTitles = {QStringLiteral("Success - Windows Internet Explorer"),
                           QStringLiteral("Success - Microsoft Internet Explorer"),
                           QStringLiteral("Success"),
                           QStringLiteral("Success - Internet Explorer"),
                           QStringLiteral("Success - Explorer"),
                           QStringLiteral("Success - Windows Explorer")};
    ApplicationTitle =
        QString::fromUtf8(version::Title) + QLatin1Char(' ') + QString::fromUtf8(version::Comments);
}

} // namespace picbasket
