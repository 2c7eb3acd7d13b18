#pragma once
#include "controls/explorerbar/ExplorerTextMeasurer.h"

#include <algorithm>

namespace picbasket::test {

// Every character is 6 pixels wide and a line 13 pixels high; wrapping fills each
// line with as many characters as fit.
class FixedTextMeasurer : public ExplorerTextMeasurer {
public:
    static constexpr int CharWidth = 6, LineHeight = 13;
    int TextWidth(const QString& text, Style = Style::Item) const override {
        return CharWidth * int(text.size());
    }
    int GetTextHeight(int left, int right, const QString& text, Style = Style::Item) const override {
        const int perLine = std::max(1, (right - left) / CharWidth);
        const int lines = std::max(1, (int(text.size()) + perLine - 1) / perLine);
        return LineHeight * lines;
    }
};

} // namespace picbasket::test
