#pragma once
#include <QImage>
#include <QString>

namespace picbasket {

// The small pictures of the main window's buttons and status panels, by the name of
// the picture box that holds each one (for example "picPreviewSave", "IconEditbar2").
// Drawn dark on white, since picture buttons AND them onto the face. An unknown name
// gives a null image.
QImage fncMainWindowPicture(const QString& pictureBox);

} // namespace picbasket
