#include "tests/engine/tasks/TaskTestSupport.h"

namespace picbasket::test {

TaskRow taskRow(const QString& id, const QStringList& params) {
    TaskRow row;
    row.Text = id;
    for (int k = 0; k < params.size() && k < TaskParamCount; ++k)
        row.SubItems[size_t(k + 1)] = params[k];
    return row;
}

QImage patternImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB888);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(
                x, y,
                qRgb((x * 37 + y * 11) % 256, (y * 53 + x * 7) % 256, (x * y * 5 + 90) % 256));
    return image;
}

QImage solid(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    return image;
}

} // namespace picbasket::test
