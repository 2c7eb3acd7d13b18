#include "controls/datetimepicker/ucDateTimePicker.h"
#include "controls/datetimepicker/CalendarDropButton.h"
#include "controls/datetimepicker/CalendarMonthList.h"
#include "controls/datetimepicker/CalendarPanel.h"
#include "core/DateFormat.h"
#include "core/OleColor.h"
#include "platform/theme/ThemeData.h"
#include "platform/theme/VisualStyle.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QWindow>

namespace picbasket {

namespace {

constexpr int kFieldHeight = 20;

// A typed date: the forms the field shows and the common numeric forms.
QDate parseTypedDate(const QString& text) {
    const QString t = text.trimmed();
    static const char* const forms[] = {"d MMM yyyy", "d MMMM yyyy", "yyyy-MM-dd", "M/d/yyyy",
                                        "d.M.yyyy",   "MMM d yyyy",  "MMMM d yyyy", "d MMM yy"};
    for (const char* form : forms) {
        const QDate d = QDate::fromString(t, QString::fromLatin1(form));
        if (d.isValid())
            return d;
    }
    return {};
}

} // namespace

ucDateTimePicker::ucDateTimePicker(QWidget* parent) : QWidget(parent) {
    text1_ = new QLineEdit(this);
    text1_->setFrame(false);
    text1_->installEventFilter(this);
    drop_ = new CalendarDropButton(this);
    panel_ = new CalendarPanel(this);
    list_ = new CalendarMonthList(this);
    ticker_.setInterval(400);
    connect(&ticker_, &QTimer::timeout, this, &ucDateTimePicker::onTick);
    connect(qApp, &QApplication::focusChanged, this, &ucDateTimePicker::onFocusChanged);
    connect(text1_, &QLineEdit::editingFinished, this, [this] {
        if (enabled_ && !dropped_)
            CommitText();
    });
    state_.onDateChanged([this](const QDateTime& from, const QDateTime& to) { emit DateChanged(from, to); });
    setFocusProxy(text1_);
    setFixedHeight(kFieldHeight);
    ApplyColourScheme();
    readProperties({});
}

ucDateTimePicker::~ucDateTimePicker() {
    CloseDropDown();
    watchHost(false);
    delete panel_;
    delete list_;
}

QWidget* ucDateTimePicker::dropButton() const { return drop_; }

void ucDateTimePicker::setDateSelected(const QDateTime& value) {
    if (!state_.setDateSelected(value))
        return;
    updateText();
    refreshPanel();
    emit PropertyChanged(QStringLiteral("DateSelected"));
}

void ucDateTimePicker::setFirstDayOfWeek(int value) {
    if (!state_.setFirstDayOfWeek(value))
        return;
    emit PropertyChanged(QStringLiteral("FirstDayOfWeek"));
    refreshPanel();
}

void ucDateTimePicker::setShortDayNames(bool value) {
    if (value == state_.shortDayNames())
        return;
    state_.setShortDayNames(value);
    emit PropertyChanged(QStringLiteral("ShortDayNames"));
    refreshPanel();
}

void ucDateTimePicker::setDescriptionFormat(const QString& format) {
    if (format == state_.descriptionFormat())
        return;
    state_.setDescriptionFormat(format);
    emit PropertyChanged(QStringLiteral("DescriptionFormat"));
    updateText();
    refreshPanel();
}

void ucDateTimePicker::setUseHandCursor(bool value) {
    if (value == useHandCursor_)
        return;
    useHandCursor_ = value;
    emit PropertyChanged(QStringLiteral("UseHandCursor"));
}

void ucDateTimePicker::setShowNonMonthDays(bool value) {
    if (value == state_.showNonMonthDays())
        return;
    state_.setShowNonMonthDays(value);
    state_.buildMonthGrid();
    emit PropertyChanged(QStringLiteral("ShowNonMonthDays"));
    refreshPanel();
}

void ucDateTimePicker::SetEnabled(bool value) {
    if (value == enabled_)
        return;
    enabled_ = value;
    emit PropertyChanged(QStringLiteral("Enabled"));
    if (value) {
        drop_->setButtonState(1);
    } else {
        drop_->setButtonState(4);
        if (dropped_)
            CloseDropDown();
    }
    text1_->setEnabled(value);
    update();
}

void ucDateTimePicker::setPickerFont(const QFont& font) {
    setFont(font);
    emit PropertyChanged(QStringLiteral("Font"));
}

void ucDateTimePicker::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        text1_->setFont(font());
        panel_->setFont(font());
        list_->setFont(font());
        list_->resize(list_->fontMetrics().horizontalAdvance(QStringLiteral("September 0000")) + 12,
                      7 * list_->itemHeight());
    } else if (event->type() == QEvent::StyleChange || event->type() == QEvent::PaletteChange ||
               event->type() == QEvent::ThemeChange) {
        ApplyColourScheme();
        refreshPanel();
    }
    QWidget::changeEvent(event);
}

void ucDateTimePicker::initNewInstance() {
    state_.setDescriptionFormat(QStringLiteral("d mmm yyyy"));
    state_.setShowNonMonthDays(true);
    state_.setFirstDayOfWeek(1);
    setDateSelected(QDateTime(state_.today(), QTime(0, 0)));
    SetEnabled(true);
}

void ucDateTimePicker::readProperties(const QVariantMap& bag) {
    const QDateTime today(state_.today(), QTime(0, 0));
    setFirstDayOfWeek(bag.value(QStringLiteral("FirstDayOfWeek"), 0).toInt());
    setShortDayNames(bag.value(QStringLiteral("ShortDayNames"), false).toBool());
    setDescriptionFormat(bag.value(QStringLiteral("DescriptionFormat"), QString()).toString());
    setUseHandCursor(bag.value(QStringLiteral("UseHandCursor"), true).toBool());
    setDateSelected(bag.value(QStringLiteral("DateSelected"), today).toDateTime());
    setShowNonMonthDays(bag.value(QStringLiteral("ShowNonMonthDays"), false).toBool());
    SetEnabled(bag.value(QStringLiteral("Enabled"), true).toBool());
    if (bag.contains(QStringLiteral("Font")))
        setPickerFont(bag.value(QStringLiteral("Font")).value<QFont>());
    updateText();
    layoutField();
}

QVariantMap ucDateTimePicker::writeProperties() {
    QVariantMap bag;
    const auto put = [&bag](const char* key, const QVariant& value, const QVariant& def) {
        if (value != def)
            bag.insert(QString::fromLatin1(key), value);
    };
    put("FirstDayOfWeek", FirstDayOfWeek(), 0);
    put("ShortDayNames", ShortDayNames(), false);
    put("DescriptionFormat", DescriptionFormat(), QString());
    put("UseHandCursor", UseHandCursor(), true);
    put("DateSelected", DateSelected(), QDateTime(state_.today(), QTime(0, 0)));
    put("ShowNonMonthDays", ShowNonMonthDays(), false);
    put("Enabled", Enabled(), true);
    put("Font", font(), QApplication::font());
    return bag;
}

void ucDateTimePicker::updateText() { text1_->setText(state_.formattedSelected()); }

void ucDateTimePicker::refreshPanel() {
    panel_->update();
    list_->update();
}

void ucDateTimePicker::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutField();
}

// The field: the frame over the whole control, the text box 3 px in, and the square
// drop button (side = height - 4) 2 px from the right edge, both centred vertically.
void ucDateTimePicker::layoutField() {
    const int w = width(), h = height();
    const int textHeight = text1_->sizeHint().height();
    text1_->setGeometry(3, (h - textHeight) / 2, w - 2 * 3, textHeight);
    const int side = h - 4;
    drop_->setGeometry(w - side - 2, (h - side) / 2, side, side);
    drop_->raise();
}

void ucDateTimePicker::ApplyColourScheme() {
    // Themed while the "BUTTON" class opens; the scheme colour follows the names of
    // the look in force. A look that cannot be probed counts as classic.
    themed_ = ThemeData::open(this, QStringLiteral("BUTTON")).has_value();
    scheme_ = {};
    if (themed_) {
        const VisualStyleInfo look = currentVisualStyle();
        scheme_ = calendarSchemeFor(look.fileName, look.colorName);
    }
    update();
    if (drop_)
        drop_->update();
}

bool ucDateTimePicker::focusInsideControl(QWidget* focus) const {
    return focus && (focus == text1_ || focus == drop_ || focus == panel_ || focus == list_);
}

void ucDateTimePicker::OpenDropDown() {
    if (!enabled_)
        return;
    state_.setHighlightDate(state_.dateSelected().date());
    state_.buildMonthGrid();
    dropped_ = true;
    watchHost(true);
    PositionDropDown();
    belongToHost(panel_);
    panel_->show();
    panel_->raise();
    drop_->setFocus(Qt::OtherFocusReason);
    refreshPanel();
}

// The panel and the month list are windows of their own; made transient for the
// picker's window they take the mouse while that window is a modal dialog, which
// would otherwise block them as windows outside it.
void ucDateTimePicker::belongToHost(QWidget* popup) {
    QWidget* host = window();
    if (host == this || !host->windowHandle())
        return;
    popup->winId();
    if (QWindow* handle = popup->windowHandle())
        handle->setTransientParent(host->windowHandle());
}

void ucDateTimePicker::CloseDropDown() {
    HideMonthList();
    if (!dropped_)
        return;
    panel_->hide();
    dropped_ = false;
    watchHost(false);
}

void ucDateTimePicker::PositionDropDown() {
    if (!dropped_)
        return;
    // Below the field, overlapping its bottom edge by one pixel.
    const QPoint bottomLeft = mapToGlobal(QPoint(0, height() - 1));
    panel_->move(bottomLeft);
}

void ucDateTimePicker::CommitHighlight() {
    setDateSelected(QDateTime(state_.highlightDate(), QTime(0, 0)));
    CloseDropDown();
    text1_->setFocus(Qt::OtherFocusReason);
}

void ucDateTimePicker::CommitText() {
    const QDate typed = parseTypedDate(text1_->text());
    if (typed.isValid())
        setDateSelected(QDateTime(typed, QTime(0, 0)));
    else if (state_.highlightDate().isValid())
        setDateSelected(QDateTime(state_.highlightDate(), QTime(0, 0)));
    updateText();
}

bool ucDateTimePicker::textKey(int key) {
    if (!enabled_)
        return false;
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        const QDate typed = parseTypedDate(text1_->text());
        if (!dropped_ || !typed.isValid())
            CommitText();
        else if (typed == state_.highlightDate())
            CommitHighlight();
        else {
            state_.setHighlightDate(typed);
            refreshPanel();
        }
        return true;
    }
    case Qt::Key_Up:
        if (dropped_)
            CloseDropDown();
        return true;
    case Qt::Key_Down:
        if (dropped_)
            drop_->setFocus(Qt::OtherFocusReason);
        else
            OpenDropDown();
        return true;
    default: return false;
    }
}

void ucDateTimePicker::showMonthListAt(const QPoint& globalTopLeft) {
    state_.openMonthList(state_.viewDate());
    const int h = list_->itemHeight();
    list_->move(globalTopLeft.x(), globalTopLeft.y() - (list_->height() + h) / 2 - 2);
    belongToHost(list_);
    list_->show();
    list_->raise();
    monthListShown_ = true;
}

void ucDateTimePicker::trackMonthList(const QPoint& globalPos) {
    const QRect l = list_->geometry();
    if (l.contains(globalPos)) {
        ticker_.stop();
        state_.trackMonthList(globalPos.y() - l.top(), list_->itemHeight());
        list_->update();
    } else if (globalPos.x() < l.left() || globalPos.x() > l.right()) {
        ticker_.stop();
    } else {
        tickEarlier_ = globalPos.y() < l.top();
        if (!ticker_.isActive())
            ticker_.start();
    }
}

void ucDateTimePicker::onTick() {
    state_.scrollMonthList(tickEarlier_);
    list_->update();
}

void ucDateTimePicker::releaseMonthList() {
    if (state_.releaseMonthList())
        refreshPanel();
    HideMonthList();
}

void ucDateTimePicker::HideMonthList() {
    if (!monthListShown_)
        return;
    ticker_.stop();
    list_->hide();
    monthListShown_ = false;
    if (dropped_)
        drop_->setFocus(Qt::OtherFocusReason);
}

void ucDateTimePicker::watchHost(bool on) {
    QWidget* host = window();
    if (on) {
        host_ = host;
        if (host_ && host_ != this)
            host_->installEventFilter(this);
        qApp->installEventFilter(this);
    } else {
        if (host_)
            host_->removeEventFilter(this);
        qApp->removeEventFilter(this);
        host_.clear();
    }
}

void ucDateTimePicker::onFocusChanged(QWidget* old, QWidget* now) {
    if (dropped_ && focusInsideControl(old) && now && !focusInsideControl(now))
        CloseDropDown();
}

void ucDateTimePicker::hideEvent(QHideEvent* event) {
    CloseDropDown();
    QWidget::hideEvent(event);
}

bool ucDateTimePicker::eventFilter(QObject* watched, QEvent* event) {
    if (watched == text1_ && event->type() == QEvent::KeyPress) {
        if (textKey(static_cast<QKeyEvent*>(event)->key()))
            return true;
        return false;
    }
    if (!dropped_)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        // A press anywhere on the host window outside this control closes the panel.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == host_ && widget != this && !isAncestorOf(widget))
            CloseDropDown();
        break;
    }
    default:
        if (watched == host_) {
            if (event->type() == QEvent::Resize || event->type() == QEvent::Hide ||
                event->type() == QEvent::WindowDeactivate)
                CloseDropDown();
            else if (event->type() == QEvent::Move) {
                HideMonthList();
                PositionDropDown();
            }
        }
    }
    return false;
}

} // namespace picbasket
