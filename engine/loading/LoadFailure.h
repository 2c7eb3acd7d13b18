#pragma once
#include <QString>

namespace picbasket {

// Why a file gave no picture, in a sentence a user can act on: gone, a link that
// leads nowhere, a name that cannot be read, a folder, not a regular file (a pipe,
// a device), not readable, empty, no image format this program reads, or damaged
// (with what the structure check found). Looked at after a load failed, from the
// file alone, so every route's failure gets the same words. `fallback` is said when the file looks
// sound and still no decoder took it (a decoder's own words, when it gave some); a
// decoder's report of damage is said as a plain sentence, its library's words
// going to the log ("picbasket.decoder") only.
QString fncLoadFailureReason(const QString& path, const QString& fallback = {});

} // namespace picbasket
