#pragma once
#include <QByteArray>

namespace picbasket::imagebox {

// The PNG file with the colour profile in an iCCP chunk after its header, when
// the profile's colour space is the file's (RGB for colour and palette files,
// grey for grey ones) and the file has no profile yet; otherwise the file as
// it is.
QByteArray withIccProfile(const QByteArray& png, const QByteArray& icc);

} // namespace picbasket::imagebox
