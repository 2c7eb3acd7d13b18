#pragma once
#include "controls/explorerbar/ExplorerBarModel.h"
#include "controls/explorerbar/ExplorerBarTheme.h"
#include "controls/explorerbar/ExplorerTextMeasurer.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <functional>

class QPainter;
class QWidget;

namespace picbasket {

// What one paint of the bar needs besides the model.
struct ExplorerPaintContext {
    const QWidget* widget = nullptr; // the bar: palette and theme data
    QString colorScheme;             // as GetThemeInfo left it
    bool useUxThemeText = true;
    int contentWidth = 0;            // client width less a visible scroll bar
    int clientWidth = 0, clientHeight = 0;
    QFont controlFont;
    QImage buttonStrip;
    std::function<void(const QString&)> ignore; // the silent error sink
};

// Draws the bar from the rectangles of the last layout pass: the background, the
// special group, the normal groups (headers, item lists, the bodies behind hosted
// containers are drawn on the containers by PaintHostedBody) and the details group,
// in the looks "Classic", "Metallic", "HomeStead" or the visual style's.
class ExplorerBarPainter {
public:
    ExplorerBarPainter(QPainter& painter, const ExplorerBarModel& model,
                       const ExplorerPaintContext& context);

    void UserControl_Paint();
    void DrawGroupHeader(int Index);
    void DrawSpecialHeader();
    void DrawDetailsHeader();
    // Group -1 is the special group; State 0 keeps the text colour, 1 normal, 2 hot.
    void DrawItem(int Group, int Item, int State);
    void DrawChevrons(int X, int Y, bool Expanded, const QColor& Color);

    // The body behind a hosted container, drawn on the container itself before it
    // paints its own contents (`painter` is open on `container`).
    static void PaintHostedBody(QPainter& painter, const QWidget* container,
                                const QString& colorScheme, bool useUxThemeText,
                                const std::function<void(const QString&)>& ignore);

private:
    void paintBackground();
    void paintSpecialGroup();
    void paintNormalGroup(int index);
    void paintDetailsGroup();
    void paintBody(const typExplorerGroup& group, int partId, const QColor& classicOutline);
    void drawHeader(const typExplorerGroup& group, bool special);
    bool drawOwnHeader(const typExplorerGroup& group, bool special);
    void drawClassicHeader(const typExplorerGroup& group, bool special);
    void drawButton(const typExplorerGroup& group, bool special);
    void drawClassicButton(const typExplorerGroup& group, bool special);
    void drawCaption(const QRect& box, const QString& caption, const QColor& colour);
    void drawWrappedText(const QRect& box, const QString& text, ExplorerTextMeasurer::Style style);
    void useFont(ExplorerTextMeasurer::Style style);
    QColor sys(uint32_t systemColour) const;
    void paintPart();

    QPainter& p_;
    const ExplorerBarModel& model_;
    const ExplorerPaintContext& ctx_;
    FontTextMeasurer measurer_;
    typThemePart part_;
    QColor textColour_;
};

} // namespace picbasket
