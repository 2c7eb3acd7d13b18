#include "controls/explorerbar/ExplorerBarLayout.h"

#include <algorithm>

namespace picbasket {

namespace {

using Style = ExplorerTextMeasurer::Style;

// Lays the items of an expanded group out from y; returns y below the last item.
int layoutItems(typExplorerGroup& group, int y, int W, const ExplorerTextMeasurer& measurer) {
    for (typExplorerItem& item : group.Items) {
        const int textWidth = measurer.TextWidth(item.Caption) + 1;
        item.ItemRect.Top = y;
        item.ItemRect.Left = 20;
        item.ItemRect.Right = 40 + (textWidth < W - 56 ? textWidth : W - 56);
        item.ItemRect.Bottom = y + measurer.GetTextHeight(40, W - 16, item.Caption);
        y = item.ItemRect.Bottom + 8;
    }
    return y;
}

int layoutSpecial(typSpecialGroup& special, int y, int W, const ExplorerTextMeasurer& measurer) {
    special.HeaderRect = {8, y + 16, W - 8, y + 40};
    y = special.HeaderRect.Bottom;
    if (special.Expanded) {
        y = layoutItems(special, y + 10, W, measurer);
        special.BodyHeight = y - special.HeaderRect.Bottom + 8;
        y += 6;
    }
    return y + 6;
}

int layoutGroup(typExplorerGroup& group, int y, int W, const ExplorerTextMeasurer& measurer) {
    y += 10;
    group.HeaderRect = {8, y, W - 8, y + 24};
    y += 24;
    if (group.Expanded && group.Child) {
        // A hosted container fills the body; its items are neither laid out nor hit.
        for (typExplorerItem& item : group.Items)
            item.ItemRect = {};
        group.BodyHeight = group.Child->height();
        y += group.BodyHeight - 10;
    } else if (group.Expanded) {
        y = layoutItems(group, y + 10, W, measurer);
        group.BodyHeight = y - group.HeaderRect.Bottom + 12;
        y += 6;
    }
    return y + 12;
}

// The details body: room for the picture (never negative in a narrow bar), then
// the bold title and the text, both wrapped between 20 and ScaleWidth - 32.
int layoutDetails(typDetailsGroup& details, int y, int W, int scaleWidth,
                  const ExplorerTextMeasurer& measurer) {
    y += 8;
    details.HeaderRect = {8, y, W - 8, y + 24};
    y = details.HeaderRect.Bottom;
    if (!details.Expanded)
        return y;
    const int room = details.Image.isNull() ? 0 : 12 + std::max(0, scaleWidth - 128);
    const int right = scaleWidth - 32;
    const int titleHeight = measurer.GetTextHeight(20, right, details.Title, Style::Bold);
    const int textHeight = measurer.GetTextHeight(20, right, details.Details, Style::Plain);
    details.BodyHeight = room + titleHeight + textHeight + 24;
    const int textTop = y + room + 11 + titleHeight + 2;
    details.TextRect = {20, textTop, right, textTop + textHeight};
    return details.TextRect.Bottom;
}

// One pass at the given width and offset; returns the y below the content.
int layoutPass(ExplorerBarModel& model, int W, int scaleWidth, int scrollTop,
               const ExplorerTextMeasurer& measurer) {
    int y = -scrollTop;
    if (model.specialGroup().Visible)
        y = layoutSpecial(model.specialGroup(), y, W, measurer);
    for (int i = 1; i <= model.GroupCount(); ++i)
        y = layoutGroup(model.group(i), y, W, measurer);
    if (model.detailsGroup().Visible)
        y = layoutDetails(model.detailsGroup(), y, W, scaleWidth, measurer);
    return y;
}

} // namespace

ExplorerLayoutResult CalculateLayout(ExplorerBarModel& model, const ExplorerLayoutInput& input,
                                     const ExplorerTextMeasurer& measurer) {
    const int SW = input.ScaleWidth, SH = input.ScaleHeight, barWidth = input.ScrollBarWidth;
    ExplorerLayoutResult result;
    result.ScrollBarVisible = input.ScrollBarVisible;
    result.ScrollTop = std::max(0, input.ScrollTop);
    result.ScrollBarRect = {SW - barWidth, 0, SW, SH};
    result.LargeChange = SH;
    // Each round can only hide the bar, show it or pull the offset back, and none
    // of these undoes another, so a few rounds always settle.
    for (int round = 0; round < 6; ++round) {
        result.ContentWidth = SW - (result.ScrollBarVisible ? barWidth : 0);
        const int y = layoutPass(model, result.ContentWidth, SW, result.ScrollTop, measurer);
        const int d = y + result.ScrollTop - SH;
        if (d <= 0) {
            result.ScrollMax = 1;
            result.ClientRect = d == 0 ? ExplorerRect{1, 1, SW - barWidth - 2, SH - 2}
                                       : ExplorerRect{0, 0, SW, SH};
            const bool settled = !result.ScrollBarVisible && result.ScrollTop == 0;
            result.ScrollBarVisible = false;
            result.ScrollTop = 0;
            if (settled)
                break;
            continue;
        }
        result.ScrollMax = d;
        result.ClientRect = {0, 0, SW - barWidth - 1, SH};
        if (!result.ScrollBarVisible && input.ControlVisible) {
            result.ScrollBarVisible = true;
            continue;
        }
        if (result.ScrollTop > d) {
            result.ScrollTop = d;
            continue;
        }
        break;
    }
    return result;
}

} // namespace picbasket
