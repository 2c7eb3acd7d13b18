#pragma once
#include <cstdint>

class QPainter;

namespace picbasket {

// Colour helpers of the explorer bar. Colours are plain RGB Longs (&HBBGGRR);
// system colours are not translated here.

// A lighter colour: each channel c becomes c + 76 - 19 * ((c + 32) \ 64), so
// dark channels gain most and 224..255 stay. The top byte is dropped.
int32_t SoftColor(int32_t lColor);

// Splits an RGB Long into its channels.
void Long2RGB(int32_t nColor, uint8_t& Red, uint8_t& Green, uint8_t& Blue);

// Fills (Left, Top, Width, Height) with a linear gradient from FromColor to
// ToColor: DrawHorVer 0 runs left to right, 1 top to bottom. Each channel is
// interpolated as the 16-bit vertex channels of a gradient fill would be. An empty
// rectangle draws nothing and succeeds; another mode draws nothing and fails.
bool DoGradient(QPainter& painter, int32_t FromColor, int32_t ToColor, int32_t DrawHorVer,
                int32_t Left, int32_t Top, int32_t Width, int32_t Height);

} // namespace picbasket
