#include "engine/jpeg2000/modJPEG2000.h"

#include "core/modFileSystem.h"

namespace picbasket {

void subSaveJPEG2000(AxImage& control, const QImage& bitmap, const QString& path, int16_t rate,
                     const QByteArray& iccProfile, double xDpi, double yDpi) {
    control.SetBitmapHandle(bitmap);
    control.SetColourProfile(iccProfile);
    control.SetCaptureResolution(xDpi, yDpi);
    control.Refresh();
    control.SetCompressionRate(static_cast<int32_t>(rate));
    const int32_t format = control.FormatFromExtension(fncGetFileExtension(path));
    control.SaveFile(path, format);
}

QImage fncLoadJPEG2000(AxImage& control, DeviceContext context, const QString& path,
                       const QString& extension) {
    const int32_t format = control.FormatFromExtension(extension);
    if (!extension.isEmpty()) {
        control.SetLoadOption(1);
        control.LoadFile(path, format);
        control.Refresh();
    }
    const QImage bitmap = control.GetBitmapHandle(context);
    const int32_t palette = control.PaletteHandle();
    return fncHandleToPicture(bitmap, palette);
}

QImage fncHandleToPicture(const QImage& bitmap, int32_t /*palette*/) {
    return bitmap;
}

} // namespace picbasket
