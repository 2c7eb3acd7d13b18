#pragma once
#include <QString>

namespace picbasket {

// Opens a document, folder or web address with the user's default program.
// Errors are ignored; returns whether the desktop accepted the request.
bool subShellExecute(const QString& pathOrAddress);

// Opens a page in a web browser: the desktop's handler first, then the browsers the
// system names ($BROWSER, a colon-separated list, then sensible-browser and
// x-www-browser), since a desktop without a handler for local files still has one.
// Returns whether a program was started.
bool subOpenInBrowser(const QString& pathOrAddress);

} // namespace picbasket
