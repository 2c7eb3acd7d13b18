#pragma once
#include <QFrame>
#include <QImage>
#include <QString>
#include <QVector>

class QHBoxLayout;
class QLabel;

namespace picbasket {

// One panel of a status bar: a picture and a text, with a key and a tool tip.
class StatusPanel : public QFrame {
    Q_OBJECT

public:
    StatusPanel(const QString& key, QWidget* parent);

    QString Key() const { return key_; }
    QString Text() const;
    void setText(const QString& text);
    QImage Picture() const { return picture_; }
    void setPicture(const QImage& picture);
    // The panel takes what width it is given and cuts its text to fit.
    void setElastic();

private:
    QString key_;
    QImage picture_;
    QLabel* icon_;
    QLabel* text_;
};

// A status bar of panels addressed by a 1-based index or by key. A panel added with
// width 0 takes the free width; the others keep their width.
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

private:
    QHBoxLayout* layout_;
    QVector<StatusPanel*> panels_;
};

} // namespace picbasket
