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

    QWidget* panel;
    PictureOptions* OptShadow;

Q_SIGNALS:
    void optionsChanged();
    void shadowClicked(int index);
};

} // namespace picbasket
