#include "controls/explorerbar/isExplorerBar.h"

#include "controls/explorerbar/ExplorerBarColors.h"
#include "controls/explorerbar/ExplorerBarPainter.h"
#include "controls/explorerbar/ExplorerButtonStrip.h"
#include "core/MessageBox.h"
#include "platform/shell/modShell.h"

#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <functional>

namespace picbasket {

namespace {

// A container's mouse pointer by the runtime's numbers (0 leaves the default).
void applyPointer(QWidget* child, int pointer) {
    switch (pointer) {
    case 1: child->setCursor(Qt::ArrowCursor); break;
    case 2: child->setCursor(Qt::CrossCursor); break;
    case 3: child->setCursor(Qt::IBeamCursor); break;
    case 11: child->setCursor(Qt::WaitCursor); break;
    case 99: child->setCursor(Qt::PointingHandCursor); break;
    default: child->unsetCursor(); break;
    }
}

} // namespace

isExplorerBar::isExplorerBar(QWidget* parent)
    : QWidget(parent), scrollBar_(new QScrollBar(Qt::Vertical, this)),
      buttonStrip_(ExplorerButtonStrip()) {
    setMouseTracking(true);
    scrollBar_->hide();
    scrollBar_->setSingleStep(4);
    model_.setChangedHandler([this] { requestPaint(); });
    model_.setSilentSink([this](const QString& text) {
        if (silent_)
            silent_(text);
    });
    connect(scrollBar_, &QScrollBar::valueChanged, this, [this](int value) {
        if (inLayout_)
            return;
        scrollTop_ = value;
        requestPaint();
    });
}

isExplorerBar::~isExplorerBar() {
    model_.setChangedHandler({});
    for (Hosted& hosted : hosted_)
        handBack(hosted);
}

void isExplorerBar::setTextMeasurer(std::shared_ptr<const ExplorerTextMeasurer> measurer) {
    measurer_ = std::move(measurer);
    requestPaint();
}

void isExplorerBar::setSilentSink(std::function<void(const QString&)> sink) {
    silent_ = std::move(sink);
}

void isExplorerBar::requestPaint() {
    relayout();
    update();
}

void isExplorerBar::Refresh() { requestPaint(); }

int32_t isExplorerBar::SoftColor(int32_t lColor) { return picbasket::SoftColor(lColor); }

void isExplorerBar::Long2RGB(int32_t nColor, uint8_t& Red, uint8_t& Green, uint8_t& Blue) {
    picbasket::Long2RGB(nColor, Red, Green, Blue);
}

void isExplorerBar::SetHandCur(bool Hand) {
    if (Hand)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void isExplorerBar::AddGroup(const QString& sKey, const QString& sCaption) {
    model_.AddGroup(sKey, sCaption);
}

void isExplorerBar::AddItem(const ExplorerRef& Group, const QString& sKey, const QString& sCaption,
                            const std::optional<ExplorerRef>& iIcon) {
    model_.AddItem(Group, sKey, sCaption, iIcon);
}

void isExplorerBar::SetImageList(std::shared_ptr<const ExplorerImageList> ImageListObj) {
    model_.SetImageList(std::move(ImageListObj));
}

void isExplorerBar::AddSpecialGroup(const QString& Caption, const QImage& Icon,
                                    const QImage& background) {
    model_.AddSpecialGroup(Caption, Icon, background);
}

void isExplorerBar::HideSpecialGroup() { model_.HideSpecialGroup(); }

void isExplorerBar::AddDetailsGroup(const QString& Caption, const QString& sTittle,
                                    const QString& sDetails) {
    model_.AddDetailsGroup(Caption, sTittle, sDetails);
}

void isExplorerBar::SetDetailsText(const QString& sDetails) { model_.SetDetailsText(sDetails); }

void isExplorerBar::HideDetailsGroup() { model_.HideDetailsGroup(); }

int32_t isExplorerBar::OpenLink(const QString& sLink) { return subShellExecute(sLink) ? 42 : 2; }

void isExplorerBar::About() {
    msgBox(QStringLiteral("isExplorerBar ") + GetControlVersion() +
               QStringLiteral("\r\nA side panel of collapsible task groups."),
           mb::OKOnly | mb::Information, QStringLiteral("isExplorerBar"));
}

// Empties the bar and paints it once, even while updates are off, so that the
// old groups never show again; the hosted containers go back to their owners.
void isExplorerBar::ClearStructure() {
    model_.ClearStructure();
    unsetCursor();
    const bool enabled = model_.updatesEnabled();
    model_.setUpdatesEnabled(true);
    relayout();
    repaint();
    model_.setUpdatesEnabled(enabled);
}

void isExplorerBar::ClearGroup(const ExplorerRef& Group) { model_.ClearGroup(Group); }

void isExplorerBar::SetGroupChild(const ExplorerRef& Group, QWidget* pChild, int pChildPointer) {
    if (pChild != nullptr)
        applyPointer(pChild, pChildPointer);
    model_.SetGroupChild(Group, pChild);
}

void isExplorerBar::ExpandGroup(const ExplorerRef& Group, std::optional<bool> bExpand) {
    model_.ExpandGroup(Group, bExpand);
}

void isExplorerBar::SetGroupCaption(const ExplorerRef& Group, const QString& sNewCaption) {
    model_.SetGroupCaption(Group, sNewCaption);
}

void isExplorerBar::SetItemIcon(const ExplorerRef& Group, const ExplorerRef& Item,
                                ExplorerRef& iNewIcon) {
    model_.SetItemIcon(Group, Item, iNewIcon);
}

void isExplorerBar::SetItemText(const ExplorerRef& Group, const ExplorerRef& Item,
                                const QString& sNewCaption) {
    model_.SetItemText(Group, Item, sNewCaption);
}

void isExplorerBar::DisableUpdates(bool bDisable) { model_.DisableUpdates(bDisable); }

void isExplorerBar::SetDetailsImage(const QImage& detailsImage) {
    model_.SetDetailsImage(detailsImage);
}

void isExplorerBar::SetFont(const QFont& newFont) {
    QFont changed = font();
    changed.setFamily(newFont.family());
    setFont(changed);
}

void isExplorerBar::relayout() {
    syncHostedChildren();
    if (!model_.updatesEnabled() || inLayout_)
        return;
    ExplorerLayoutInput input;
    input.ScaleWidth = width();
    input.ScaleHeight = height();
    input.ScrollBarWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, scrollBar_);
    input.ScrollBarVisible = !scrollBar_->isHidden();
    input.ControlVisible = isVisible();
    input.ScrollTop = scrollTop_;
    const FontTextMeasurer fontMeasurer(font());
    const ExplorerTextMeasurer& measurer = measurer_ ? *measurer_ : fontMeasurer;
    layout_ = CalculateLayout(model_, input, measurer);
    inLayout_ = true;
    scrollBar_->setRange(0, layout_.ScrollMax);
    scrollBar_->setSingleStep(layout_.SmallChange);
    scrollBar_->setPageStep(layout_.LargeChange);
    scrollBar_->setValue(layout_.ScrollTop);
    scrollBar_->setGeometry(layout_.ScrollBarRect.toQRect());
    scrollBar_->setVisible(layout_.ScrollBarVisible);
    scrollTop_ = layout_.ScrollTop;
    placeChildren();
    inLayout_ = false;
}

bool isExplorerBar::referenced(const QWidget* child) const {
    for (int i = 1; i <= model_.GroupCount(); ++i) {
        if (model_.group(i).Child == child)
            return true;
    }
    return false;
}

void isExplorerBar::adopt(QWidget* child) {
    hosted_.push_back({child, child->parentWidget()});
    const bool hadPointer = child->testAttribute(Qt::WA_SetCursor);
    const QCursor pointer = child->cursor();
    child->setParent(this);
    if (hadPointer)
        child->setCursor(pointer);
    child->installEventFilter(this);
}

void isExplorerBar::handBack(Hosted& hosted) {
    if (!hosted.child)
        return;
    hosted.child->removeEventFilter(this);
    hosted.child->hide();
    hosted.child->setParent(hosted.owner.data());
}

// Adopts the containers that groups now host and hands back those no group holds.
void isExplorerBar::syncHostedChildren() {
    for (int i = 1; i <= model_.GroupCount(); ++i) {
        QWidget* child = model_.group(i).Child;
        if (child != nullptr && hostedOf(child) == nullptr)
            adopt(child);
    }
    for (auto it = hosted_.begin(); it != hosted_.end();) {
        if (it->child && referenced(it->child)) {
            ++it;
            continue;
        }
        handBack(*it);
        it = hosted_.erase(it);
    }
}

const isExplorerBar::Hosted* isExplorerBar::hostedOf(const QObject* object) const {
    for (const Hosted& hosted : hosted_) {
        if (hosted.child == object)
            return &hosted;
    }
    return nullptr;
}

// Each hosted container fills its group's body at the header's width; a collapsed
// group hides it.
void isExplorerBar::placeChildren() {
    for (int i = 1; i <= model_.GroupCount(); ++i) {
        const typExplorerGroup& group = model_.group(i);
        if (!group.Child)
            continue;
        if (!group.Expanded) {
            group.Child->hide();
            continue;
        }
        group.Child->setGeometry(group.HeaderRect.Left, group.HeaderRect.Bottom,
                                 group.HeaderRect.width(), group.Child->height());
        group.Child->show();
        group.Child->update();
    }
    scrollBar_->raise();
}

void isExplorerBar::paintEvent(QPaintEvent*) {
    if (!model_.updatesEnabled())
        return;
    GetThemeInfo(this, themeFile_, colorScheme_);
    QPainter painter(this);
    ExplorerPaintContext context;
    context.widget = this;
    context.colorScheme = colorScheme_;
    context.useUxThemeText = model_.UseUxThemeText();
    context.contentWidth = layout_.ContentWidth;
    context.clientWidth = width();
    context.clientHeight = height();
    context.controlFont = font();
    context.buttonStrip = buttonStrip_;
    context.ignore = [this](const QString& text) { model_.IgnoreControlError(text); };
    ExplorerBarPainter(painter, model_, context).UserControl_Paint();
}

void isExplorerBar::resizeEvent(QResizeEvent*) { requestPaint(); }

void isExplorerBar::showEvent(QShowEvent*) {
    model_.setUpdatesEnabled(true);
    requestPaint();
}

void isExplorerBar::changeEvent(QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::ThemeChange || type == QEvent::StyleChange ||
        type == QEvent::PaletteChange || type == QEvent::FontChange) {
        requestPaint();
    }
    QWidget::changeEvent(event);
}

bool isExplorerBar::eventFilter(QObject* watched, QEvent* event) {
    const Hosted* hosted = hostedOf(watched);
    if (hosted == nullptr || !hosted->child)
        return QWidget::eventFilter(watched, event);
    QWidget* child = hosted->child;
    switch (event->type()) {
    case QEvent::Paint:
        if (model_.updatesEnabled()) {
            QPainter painter(child);
            ExplorerBarPainter::PaintHostedBody(
                painter, child, colorScheme_, model_.UseUxThemeText(),
                [this](const QString& text) { model_.IgnoreControlError(text); });
        }
        break;
    case QEvent::Enter:
        // Over a hosted body nothing of the bar is hot.
        hoverAt(3, 3);
        break;
    case QEvent::Resize:
        if (!inLayout_ && static_cast<QResizeEvent*>(event)->oldSize().height() != child->height())
            requestPaint();
        break;
    default: break;
    }
    return QWidget::eventFilter(watched, event);
}

std::vector<int> isExplorerBar::groupOrder() const {
    std::vector<int> order;
    if (model_.specialGroup().Visible)
        order.push_back(ExplorerBarModel::SpecialIndex);
    for (int i = 1; i <= model_.GroupCount(); ++i)
        order.push_back(i);
    if (model_.detailsGroup().Visible)
        order.push_back(ExplorerBarModel::DetailsIndex);
    return order;
}

bool isExplorerBar::hasItemList(const typExplorerGroup& group) const {
    return group.Expanded && !group.Child && &group != &model_.detailsGroup();
}

// Hot states follow the pointer: headers first, then the items of expanded
// groups. The events are raised after every state is settled, so a handler that
// changes the bar cannot disturb the pass; the cursor is the hand while anything
// is hot.
void isExplorerBar::hoverAt(int x, int y) {
    std::vector<std::function<void()>> events;
    bool anyHot = false;
    const std::vector<int> order = groupOrder();
    for (int index : order) {
        typExplorerGroup& group = *model_.groupAt(index);
        const QString key = model_.eventKey(index);
        const bool inside = group.HeaderRect.hits(x, y);
        if (inside != group.HeaderHot) {
            group.HeaderHot = inside;
            group.HeaderState = inside ? 2 : 1;
            events.push_back([this, key, inside] { inside ? emit GroupHover(key) : emit GroupOut(key); });
        }
        anyHot = anyHot || group.HeaderHot;
    }
    for (int index : order) {
        typExplorerGroup& group = *model_.groupAt(index);
        if (!hasItemList(group))
            continue;
        const QString key = model_.eventKey(index);
        for (typExplorerItem& item : group.Items) {
            const bool over = item.ItemRect.hits(x, y);
            if (over != item.Hot) {
                item.Hot = over;
                const QString itemKey = item.Key;
                events.push_back([this, key, itemKey, over] {
                    over ? emit ItemHover(key, itemKey) : emit ItemOut(key, itemKey);
                });
            }
            anyHot = anyHot || item.Hot;
        }
    }
    SetHandCur(anyHot);
    if (!events.empty())
        update();
    for (const auto& raise : events)
        raise();
}

void isExplorerBar::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    hoverAt(at.x(), at.y());
}

void isExplorerBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    for (int index : groupOrder()) {
        typExplorerGroup& group = *model_.groupAt(index);
        if (group.HeaderRect.hits(at.x(), at.y())) {
            group.HeaderState = 3;
            update();
            return;
        }
    }
}

void isExplorerBar::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    releaseAt(at.x(), at.y());
}

// One release raises at most one click: the first header or item under the
// pointer. The handler may change the model, so nothing is looked at afterwards
// but the group it was raised for, found again by index.
void isExplorerBar::releaseAt(int x, int y) {
    for (int index : groupOrder()) {
        if (releaseOnGroup(index, x, y))
            return;
    }
}

bool isExplorerBar::releaseOnGroup(int index, int x, int y) {
    typExplorerGroup& group = *model_.groupAt(index);
    if (group.HeaderRect.hits(x, y)) {
        group.Expanded = !group.Expanded;
        group.HeaderState = 2;
        const QString key = group.Key;
        bool expanded = group.Expanded;
        requestPaint();
        emit GroupClick(index, expanded);
        // The value the handler left is stored, unless the handler rebuilt the bar.
        typExplorerGroup* after = model_.groupAt(index);
        if (after != nullptr && after->Key == key && after->Expanded != expanded) {
            after->Expanded = expanded;
            requestPaint();
        }
        return true;
    }
    if (!hasItemList(group))
        return false;
    for (typExplorerItem& item : group.Items) {
        if (item.ItemRect.hits(x, y)) {
            item.Hot = true;
            update();
            emit ItemClick(model_.eventKey(index), QString(item.Key));
            return true;
        }
    }
    return false;
}

// One notch of the wheel, with no key or button held, scrolls 32 pixels.
void isExplorerBar::wheelEvent(QWheelEvent* event) {
    if (scrollBar_->isHidden()) {
        event->ignore();
        return;
    }
    event->accept();
    if (event->modifiers() != Qt::NoModifier || event->buttons() != Qt::NoButton ||
        event->angleDelta().x() != 0)
        return;
    const int delta = event->angleDelta().y();
    if (delta == 120)
        scrollBar_->setValue(scrollBar_->value() - 32);
    else if (delta == -120)
        scrollBar_->setValue(scrollBar_->value() + 32);
}

void isExplorerBar::enterEvent(QEnterEvent*) {
    if (!mouseInside_) {
        update();
        emit MouseOver();
    }
    mouseInside_ = true;
}

// Leaving raises MouseOut first, then the out events of whatever was hot.
void isExplorerBar::leaveEvent(QEvent*) {
    if (mouseInside_)
        emit MouseOut();
    mouseInside_ = false;
    hoverAt(1, 1);
}

} // namespace picbasket
