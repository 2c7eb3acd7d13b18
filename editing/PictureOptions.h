#pragma once
#include <QImage>
#include <QWidget>
#include <vector>

class QButtonGroup;
class QToolButton;

namespace picbasket {

// A picture option group: one checkable picture button per choice, laid out in
// rows, exactly one of them chosen (the first at the start). The button's id is its
// index. Choosing one, by the user or by code, raises Click(index) once.
class PictureOptions : public QWidget {
    Q_OBJECT
public:
    PictureOptions(const std::vector<QImage>& pictures, int perRow, QSize buttonSize,
                   QWidget* parent = nullptr);

    int count() const;
    // The chosen index.
    int selected() const;
    // Chooses the index; an index outside the group is ignored.
    void select(int index);
    QToolButton* button(int index) const;

Q_SIGNALS:
    void Click(int index);

private:
    QButtonGroup* group_;
};

// The option pictures of the effect panels, drawn from the artwork the task engine
// stamps: each frame style around a small sample, each shadow style behind it, and
// each mask over it.
std::vector<QImage> fncFrameOptionPictures(QSize size);
std::vector<QImage> fncShadowOptionPictures(QSize size);
std::vector<QImage> fncMaskOptionPictures(QSize size);

// The two text orientations and the three alignments, drawn as small diagrams.
std::vector<QImage> fncTextOrientationPictures(QSize size);
std::vector<QImage> fncTextAlignmentPictures(QSize size);

} // namespace picbasket
