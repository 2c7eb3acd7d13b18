#pragma once
#include <QObject>
#include <array>

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

    int value() const;
    // The slider's value; its own change runs as the user's would.
    void setValue(int value);
    // 0 red, 1 green, 2 blue; nullptr without channels.
    QCheckBox* channel(int index) const { return channels_[size_t(index)]; }

    QWidget* panel;
    Slider* slider;
    QLabel* lblValue;

Q_SIGNALS:
    // An option of the panel changed.
    void optionsChanged();

private:
    std::array<QCheckBox*, 3> channels_{};
};

} // namespace picbasket
