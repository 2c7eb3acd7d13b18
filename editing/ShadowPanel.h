#pragma once
#include <QObject>

class QWidget;

namespace picbasket {

class PictureOptions;

// The Shadow panel: one of eight drop shadows (the shadow styles 8 and up).
class ShadowPanel : public QObject {
    Q_OBJECT
public:
    explicit ShadowPanel(QWidget* panel);

    // What the panel provides: the shadow pictures, which the edit view's stored
    // options choose from and the tests drive.
    PictureOptions* pictureOptions() const { return OptShadow; }

Q_SIGNALS:
    void optionsChanged();
    void shadowClicked(int index);

private:
    QWidget* panel;
    PictureOptions* OptShadow;
};

} // namespace picbasket
