#pragma once
#include <QFrame>
#include <QImage>
#include <QString>
#include <QVector>
#include <vector>

class QLabel;

namespace picbasket {

// One panel of a status bar: a picture and a text, with a key and a tool tip.
// A panel narrower than its text shows the text cut with "…".
class StatusPanel : public QFrame {
    Q_OBJECT

public:
    StatusPanel(const QString& key, QWidget* parent);

    QString Key() const { return key_; }
    QString Text() const { return text_; }
    void setText(const QString& text);
    QImage Picture() const { return picture_; }
    void setPicture(const QImage& picture);
    // The width that shows the picture and the whole text.
    int contentWidth() const;

signals:
    void contentChanged();

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void showText();

    QString key_;
    QString text_;
    QImage picture_;
    QLabel* icon_;
    QLabel* label_;
};

// How a status bar shares its width. Each panel first gets the width its content
// needs (a panel of free width at most `freeFloor` of it), free panels then grow
// to their whole text, fixed panels to their design width, and what is left goes
// to the free panels. When even the first step does not fit, every panel is
// narrowed in proportion.
struct StatusPanelNeed {
    int content = 0; // picture and whole text
    int design = 0;  // 0 for a panel of free width
};
std::vector<int> fncStatusPanelWidths(const std::vector<StatusPanelNeed>& panels, int width,
                                      int spacing, int freeFloor = 40);

// A status bar of panels addressed by a 1-based index or by key. A panel added with
// width 0 takes the free width; the others keep their width while there is room and
// never get less than their content needs while it fits.
class StatusBar : public QWidget {
    Q_OBJECT

public:
    explicit StatusBar(QWidget* parent = nullptr);

    StatusPanel* AddPanel(const QString& key, const QString& toolTip, const QString& text,
                          int width);
    int Count() const { return static_cast<int>(panels_.size()); }
    // nullptr for an unknown key or an index out of range.
    StatusPanel* Panel(int index) const;
    StatusPanel* Panel(const QString& key) const;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void relayout();

    QVector<StatusPanel*> panels_;
    std::vector<int> designWidths_;
};

} // namespace picbasket
