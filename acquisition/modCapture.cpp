#include "acquisition/modCapture.h"

#include "core/AppError.h"
#include "core/MessageBox.h"
#include "platform/imagebox/ImageBox.h"
#include "platform/screen/ScreenGrabber.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

namespace picbasket {

namespace {

// 9,999 numbers per name; a folder that full is no state to wait out.
constexpr int MaxDraws = 100000;

void reportFailedGrab(const ScreenGrab& grab) {
    if (grab.unreadable)
        msgBox(QStringLiteral("The screen cannot be read: this desktop lets no program take "
                              "a picture of it."),
               mb::Information);
    else
        msgBox(QStringLiteral("There was an internal error! Please try again!"), mb::Information,
               QStringLiteral("INTERNAL ERROR!"));
}

} // namespace

QImage fncCaptureScreen(ScreenGrabber& grabber, QScreen* screen) {
    const ScreenGrab grab = grabber.grabScreen(screen);
    if (grab.picture.isNull()) {
        reportFailedGrab(grab);
        return {};
    }
    return grab.picture;
}

QString fncCaptureFolder(const QString& folder) {
    if (folder.trimmed().endsWith(QLatin1Char('/')))
        return folder;
    return folder + QLatin1Char('/');
}

QString fncCaptureFileName(const QString& folder, const QString& genericName, double draw) {
    const auto number = static_cast<int>(std::floor(9999 * std::clamp(draw, 0.0, 0.9999999)));
    return fncCaptureFolder(folder) + genericName + QString::number(number) +
           QStringLiteral(".tif");
}

QString fncSaveCaptureFile(ImageBox& box, const QString& folder, const QString& genericName,
                           const std::function<double()>& random) {
    const QString target = fncCaptureFolder(folder);
    if (!QDir().mkpath(target))
        raiseError(err::Unexpected,
                   QStringLiteral("The capture folder %1 cannot be created").arg(target));
    for (int draw = 0; draw < MaxDraws; ++draw) {
        const QString path = fncCaptureFileName(target, genericName, random());
        if (QFileInfo(path).exists() || QFileInfo(path).isSymLink())
            continue;
        if (box.SaveExactTiff(path))
            return path;
    }
    raiseError(err::Unexpected,
               QStringLiteral("There is no free name for a capture in %1").arg(target));
}

} // namespace picbasket
