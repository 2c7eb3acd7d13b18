#pragma once
#include "controls/explorerbar/ExplorerBarLayout.h"
#include "controls/explorerbar/ExplorerBarModel.h"

#include <QImage>
#include <QPointer>
#include <QWidget>
#include <memory>
#include <optional>
#include <vector>

class QScrollBar;

namespace picbasket {

// The explorer bar: a vertical side panel of collapsible task groups. Each group
// has a header with a caption and a round button and, while expanded, a body with
// clickable items (icon and wrapped caption) or one hosted container widget. The
// special group (highlighted, always first) and the details group (title, text and
// picture, always last) sit outside the normal groups.
//
// Changes lay the bar out again (ExplorerBarLayout), which also places, shows and
// hides the hosted containers and the scroll bar; paintEvent only draws
// (ExplorerBarPainter) in the look the visual style selects. A hosted container is
// adopted while a group holds it and handed back, hidden, to its former parent when
// the group lets it go, so its owner never loses it.
class isExplorerBar : public QWidget {
    Q_OBJECT
public:
    explicit isExplorerBar(QWidget* parent = nullptr);
    ~isExplorerBar() override;

    void Refresh();
    static int32_t SoftColor(int32_t lColor);
    static void Long2RGB(int32_t nColor, uint8_t& Red, uint8_t& Green, uint8_t& Blue);
    void SetHandCur(bool Hand);
    void AddGroup(const QString& sKey, const QString& sCaption);
    void AddItem(const ExplorerRef& Group, const QString& sKey, const QString& sCaption,
                 const std::optional<ExplorerRef>& iIcon = std::nullopt);
    void SetImageList(std::shared_ptr<const ExplorerImageList> ImageListObj);
    void AddSpecialGroup(const QString& Caption, const QImage& Icon = {},
                         const QImage& background = {});
    void HideSpecialGroup();
    void AddDetailsGroup(const QString& Caption, const QString& sTittle, const QString& sDetails);
    void SetDetailsText(const QString& sDetails);
    void HideDetailsGroup();
    // Opens a document or web address with the desktop's default program; returns
    // a code above 32 on success, 2 when the desktop refused.
    int32_t OpenLink(const QString& sLink);
    void About();
    void ClearStructure();
    void ClearGroup(const ExplorerRef& Group);
    // pChildPointer: the container's mouse pointer (0 default, 99 the hand).
    void SetGroupChild(const ExplorerRef& Group, QWidget* pChild, int pChildPointer = 0);
    void ExpandGroup(const ExplorerRef& Group, std::optional<bool> bExpand = std::nullopt);
    void SetGroupCaption(const ExplorerRef& Group, const QString& sNewCaption);
    void SetItemIcon(const ExplorerRef& Group, const ExplorerRef& Item, ExplorerRef& iNewIcon);
    void SetItemText(const ExplorerRef& Group, const ExplorerRef& Item, const QString& sNewCaption);
    void DisableUpdates(bool bDisable);
    void SetDetailsImage(const QImage& detailsImage);
    QString GetControlVersion() const { return model_.GetControlVersion(); }
    QFont Font() const { return font(); }
    // Takes the family of newFont (size and style stay).
    void SetFont(const QFont& newFont);
    bool UseUxThemeText() const { return model_.UseUxThemeText(); }
    void SetUseUxThemeText(bool bNewUseUxThemeText) { model_.setUseUxThemeText(bNewUseUxThemeText); }

    const ExplorerBarModel& model() const { return model_; }
    const ExplorerLayoutResult& layoutResult() const { return layout_; }
    QScrollBar* scrollBar() const { return scrollBar_; }
    QString colorScheme() const { return colorScheme_; }
    QString themeFile() const { return themeFile_; }
    // Measures texts for the layout; nothing: the widget's font.
    void setTextMeasurer(std::shared_ptr<const ExplorerTextMeasurer> measurer);
    // Receives the failure texts that are never shown.
    void setSilentSink(std::function<void(const QString&)> sink);

signals:
    void MouseOver();
    void MouseOut();
    void GroupHover(const QString& sGroup);
    void GroupOut(const QString& sGroup);
    void ItemClick(const QString& sGroup, const QString& sItemKey);
    // bExpanded is the group's new state; a value the handler stores there is kept.
    void GroupClick(int Group, bool& bExpanded);
    void ItemHover(const QString& sGroup, const QString& sItemKey);
    void ItemOut(const QString& sGroup, const QString& sItemKey);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Hosted {
        QPointer<QWidget> child;
        QPointer<QWidget> owner;
    };

    void requestPaint();
    void relayout();
    void syncHostedChildren();
    void adopt(QWidget* child);
    void handBack(Hosted& hosted);
    bool referenced(const QWidget* child) const;
    void placeChildren();
    void hoverAt(int x, int y);
    void releaseAt(int x, int y);
    bool releaseOnGroup(int index, int x, int y);
    std::vector<int> groupOrder() const;
    bool hasItemList(const typExplorerGroup& group) const;
    const Hosted* hostedOf(const QObject* object) const;

    ExplorerBarModel model_;
    ExplorerLayoutResult layout_;
    QScrollBar* scrollBar_;
    std::vector<Hosted> hosted_;
    std::shared_ptr<const ExplorerTextMeasurer> measurer_;
    std::function<void(const QString&)> silent_;
    QImage buttonStrip_;
    QString themeFile_;
    QString colorScheme_;
    int scrollTop_ = 0;
    bool inLayout_ = false;
    bool mouseInside_ = false;
};

} // namespace picbasket
