#pragma once
#include <QProgressBar>

namespace picbasket {

// A progress bar whose value is kept inside Min..Max, so a caller counting past the
// end never gets an error.
class ProgressBar : public QProgressBar {
    Q_OBJECT

public:
    explicit ProgressBar(QWidget* parent = nullptr);

    int Min() const { return minimum(); }
    void setMin(int value);
    int Max() const { return maximum(); }
    void setMax(int value);
    int Value() const { return value(); }
    void setValue(int value);

signals:
    // A mouse button pressed on the bar (the folder listing stops on it).
    void MouseDown();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};

} // namespace picbasket
