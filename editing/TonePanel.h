#pragma once
#include <QObject>
#include <array>
#include <cstdint>

class QCheckBox;
class QLabel;
class QWidget;

namespace picbasket {

class Slider;

// The panel of a tone task (Blur, Sharpen, Contrast, Brightness): a slider with its
// "Value:" label, and for Contrast and Brightness the three channel boxes "Red",
// "Green" and "Blue".
class TonePanel : public QObject {
    Q_OBJECT
public:
    struct Layout {
        int minimum;
        int maximum;
        int value;
        bool channels;
    };
    TonePanel(QWidget* panel, const Layout& layout);

    // What the panel provides: its level and channels, for the edit view's task and
    // stored options and for the tests.
    int value() const;
    // The slider's value; its own change runs as the user's would.
    void setValue(int value);
    // 0 red, 1 green, 2 blue; nullptr without channels.
    QCheckBox* channel(int index) const { return channels_[size_t(index)]; }
    // The stored level and channel ticks (0 or 1) shown; the channels are left alone
    // without channel boxes.
    void load(int level, const std::array<uint8_t, 3>& channels);
    // The slider and its "Value:" label, which follows the thumb while it is dragged.
    Slider* levelSlider() const { return slider; }
    QLabel* valueLabel() const { return lblValue; }

Q_SIGNALS:
    // An option of the panel changed.
    void optionsChanged();

private:
    QWidget* panel;
    Slider* slider;
    QLabel* lblValue;
    std::array<QCheckBox*, 3> channels_{};
};

} // namespace picbasket
