#pragma once
#include <QString>

namespace picbasket {

// Opens a document, folder or web address with the user's default program.
// Errors are ignored; returns whether the desktop accepted the request.
bool subShellExecute(const QString& pathOrAddress);

} // namespace picbasket
