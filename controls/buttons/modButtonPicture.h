#pragma once
#include <QImage>
#include <QString>

class QFontMetrics;
class QPushButton;

namespace picbasket {

// Picture buttons: a standard push button that shows a small picture at its left
// edge next to its caption. The caption is padded with leading blanks so that the
// centred text moves right, and every repaint first renders the plain button off
// screen, then ANDs the picture (on a white ground) onto the face at x = 5,
// centred vertically, and copies the result to the screen in one step. White parts
// of the picture leave the face as it is; darker pixels darken it.

// Installs the picture on the button (installing again replaces the picture and
// pads the caption as it stood before the first install).
void subSetButtonPicture(QPushButton* button, const QImage& picture);
// Makes the button paint as a plain button again; the padded caption stays.
void subRemoveButtonPicture(QPushButton* button);
// True while a picture is installed on the button.
bool fncHasButtonPicture(const QPushButton* button);

// The caption with blanks in front until its width (measured with the metrics) is
// at least the button width less the margin: 5 when the caption has an access-key
// marker "&", else 11. At least one blank is added when the width is 1 or more.
QString fncPadButtonCaption(const QString& caption, int buttonWidth, const QFontMetrics& metrics);

} // namespace picbasket
