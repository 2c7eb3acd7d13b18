#pragma once
#include <QImage>
#include <QString>
#include <functional>

class QScreen;

namespace picbasket {

class ImageBox;
class ScreenGrabber;

// The screen copy of the capture and the capture's file name.

// The whole of the screen in device pixels, or an empty picture after a failure,
// which it has reported: "INTERNAL ERROR!" for a grab that failed, a message saying
// the screen cannot be read on a desktop that lets no program read it.
QImage fncCaptureScreen(ScreenGrabber& grabber, QScreen* screen);

// The capture folder of the setup text, with a separator appended when its trimmed
// text does not end in one.
QString fncCaptureFolder(const QString& folder);
// folder & genericName & the whole part of (draw x 9999) & ".tif"; the folder as
// fncCaptureFolder gives it.
QString fncCaptureFileName(const QString& folder, const QString& genericName, double draw);
// Writes the preview's image as an exact TIFF under a name of the capture folder
// (created when missing) that no file has: the number is drawn again while the name
// is taken. Returns the path; raises AppError when the folder cannot be made, the
// file cannot be written or no free name turns up.
QString fncSaveCaptureFile(ImageBox& box, const QString& folder, const QString& genericName,
                           const std::function<double()>& random);

} // namespace picbasket
