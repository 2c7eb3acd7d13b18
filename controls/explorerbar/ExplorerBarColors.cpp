#include "controls/explorerbar/ExplorerBarColors.h"

#include <QPainter>
#include <algorithm>

namespace picbasket {

namespace {

int softChannel(int c) { return c + 76 - 19 * ((c + 32) / 64); }

// Channel value at step `i` of `steps`, interpolated on 16-bit channels whose high
// byte holds the colour (as the vertices of a gradient fill do), then cut to 8 bits.
int channelAt(int from, int to, int64_t i, int64_t steps) {
    const int64_t a = int64_t(from) << 8, b = int64_t(to) << 8;
    return int((a + (b - a) * i / steps) >> 8);
}

QColor colourAt(const uint8_t from[3], const uint8_t to[3], int64_t i, int64_t steps) {
    return QColor(channelAt(from[0], to[0], i, steps), channelAt(from[1], to[1], i, steps),
                  channelAt(from[2], to[2], i, steps));
}

} // namespace

int32_t SoftColor(int32_t lColor) {
    const uint32_t c = uint32_t(lColor);
    const int r = softChannel(int(c & 0xFF));
    const int g = softChannel(int((c >> 8) & 0xFF));
    const int b = softChannel(int((c >> 16) & 0xFF));
    return int32_t(uint32_t(r) | (uint32_t(g) << 8) | (uint32_t(b) << 16));
}

void Long2RGB(int32_t nColor, uint8_t& Red, uint8_t& Green, uint8_t& Blue) {
    const uint32_t c = uint32_t(nColor);
    Red = uint8_t(c & 0xFF);
    Green = uint8_t((c & 0xFF00) >> 8);
    Blue = uint8_t((c & 0xFF0000) >> 16);
}

bool DoGradient(QPainter& painter, int32_t FromColor, int32_t ToColor, int32_t DrawHorVer,
                int32_t Left, int32_t Top, int32_t Width, int32_t Height) {
    if (DrawHorVer != 0 && DrawHorVer != 1)
        return false;
    if (Width <= 0 || Height <= 0)
        return true;
    uint8_t from[3], to[3];
    Long2RGB(FromColor, from[0], from[1], from[2]);
    Long2RGB(ToColor, to[0], to[1], to[2]);
    const bool horizontal = DrawHorVer == 0;
    const int64_t steps = horizontal ? Width : Height;
    // Only the steps that can land on the device are drawn, so an absurd size costs nothing.
    const int64_t origin = horizontal ? Left : Top;
    const int64_t extent = painter.device() != nullptr
                               ? (horizontal ? painter.device()->width() : painter.device()->height())
                               : steps;
    const int64_t first = std::clamp<int64_t>(-origin, 0, steps);
    const int64_t last = std::clamp<int64_t>(extent - origin, 0, steps);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (int64_t i = first; i < last; ++i) {
        const QColor colour = colourAt(from, to, i, steps);
        if (horizontal)
            painter.fillRect(QRect(int(Left + i), Top, 1, Height), colour);
        else
            painter.fillRect(QRect(Left, int(Top + i), Width, 1), colour);
    }
    painter.restore();
    return true;
}

} // namespace picbasket
