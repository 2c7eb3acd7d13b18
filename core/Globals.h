#pragma once
#include <QString>

namespace picbasket {

// The status sentence that long or risky steps set first; the error report carries it.
inline QString CurrentActivity;
// The application title: every message box's title, sent in the error report.
inline QString ApplicationTitle = QStringLiteral("PicBasket");
// Set by the wait dialog's Cancel; long loops test it between items and clear it
// when they stop on it.
inline bool CancelOperation = false;

} // namespace picbasket
