#pragma once
#include "controls/datetimepicker/CalendarState.h"

#include <QDateTime>
#include <QPointer>
#include <QTimer>
#include <QVariantMap>
#include <QWidget>

class QLineEdit;

namespace picbasket {

class CalendarPanel;
class CalendarMonthList;
class CalendarDropButton;

// A one-line date field with a drop button that opens a month calendar below it.
// The user types a date or picks a day and confirms it with OK (or Enter, or a
// double click). Hosts set and read DateSelected and may handle DateChanged.
//
//   +---------------------------+--+
//   | 3 Jul 2024                |v |   field: Text1, frame, drop button
//   +---------------------------+--+
//   | <      July 2024        > |      header with the month title
//   | Sun Mon Tue Wed Thu Fri Sat|     day names
//   |  30   1   2  [3]  4   5   6|     42 day cells, six weeks
//   |  ...                       |
//   | 3 Jul 2024                 |     description of the highlight
//   |           [ OK ] [ Today ] |
//   +----------------------------+
class ucDateTimePicker : public QWidget {
    Q_OBJECT
public:
    explicit ucDateTimePicker(QWidget* parent = nullptr);
    ~ucDateTimePicker() override;

    QDateTime DateSelected() const { return state_.dateSelected(); }
    void setDateSelected(const QDateTime& value);
    int FirstDayOfWeek() const { return state_.firstDayOfWeek(); }
    void setFirstDayOfWeek(int value);
    bool ShortDayNames() const { return state_.shortDayNames(); }
    void setShortDayNames(bool value);
    QString DescriptionFormat() { return state_.descriptionFormat(); }
    void setDescriptionFormat(const QString& format);
    bool UseHandCursor() const { return useHandCursor_; }
    void setUseHandCursor(bool value);
    bool ShowNonMonthDays() const { return state_.showNonMonthDays(); }
    void setShowNonMonthDays(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    void setPickerFont(const QFont& font);
    // 0 classic or another scheme, 1 blue, 2 olive green, 3 silver.
    int CurrentTheme() const { return scheme_.currentTheme; }
    uint32_t themeColor() const { return scheme_.themeColor; }

    // The property bag: read on load (missing keys take their defaults), written on save
    // (values equal to their default are left out).
    void readProperties(const QVariantMap& bag);
    QVariantMap writeProperties();
    // The values a newly placed control starts with.
    void initNewInstance();

    // The panel operations, public for the panel and for tests.
    bool isDropped() const { return dropped_; }
    bool isMonthListShown() const { return monthListShown_; }
    void OpenDropDown();
    void CloseDropDown();
    void PositionDropDown();
    void CommitHighlight();
    void CommitText();
    void HideMonthList();
    CalendarState& state() { return state_; }
    CalendarPanel* panel() const { return panel_; }
    CalendarMonthList* monthList() const { return list_; }
    QLineEdit* textBox() const { return text1_; }
    QWidget* dropButton() const;
    QTimer& monthTicker() { return ticker_; }
    // Whether the look in force is themed; re-read when the style changes.
    bool isThemed() const { return themed_; }
    void ApplyColourScheme();

    // Used by the panel.
    void showMonthListAt(const QPoint& globalTopLeft);
    void trackMonthList(const QPoint& globalPos);
    void releaseMonthList();
    void refreshPanel();

signals:
    void DateChanged(const QDateTime& fromDate, const QDateTime& toDate);
    void PropertyChanged(const QString& key);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void layoutField();
    void updateText();
    bool focusInsideControl(QWidget* focus) const;
    bool textKey(int key);
    void watchHost(bool on);
    void belongToHost(QWidget* popup);
    void onFocusChanged(QWidget* old, QWidget* now);
    void onTick();

    CalendarState state_;
    CalendarScheme scheme_;
    QLineEdit* text1_ = nullptr;
    CalendarDropButton* drop_ = nullptr;
    CalendarPanel* panel_ = nullptr;
    CalendarMonthList* list_ = nullptr;
    QTimer ticker_;
    bool tickEarlier_ = false;
    QPointer<QWidget> host_;
    bool useHandCursor_ = false;
    bool enabled_ = false;
    bool dropped_ = false;
    bool monthListShown_ = false;
    bool themed_ = false;
};

} // namespace picbasket
