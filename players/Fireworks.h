#pragma once
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRandomGenerator>
#include <cstdint>

namespace picbasket {

class clsDemoClock;

// The "Fireworks!" animation of the greeting: rockets rise from the bottom edge
// trailing a short line, burst into a ring of sparks that fly out and fall, and
// fade by shortening their trails. Each frame is drawn with the demo clock's
// anti-aliased lines and arcs into the frame's pixel array.
class Fireworks {
public:
    explicit Fireworks(quint32 seed = 1) : random_(seed) {}

    // Advances one frame (about 1/30 s) within a picture of that size.
    void advance(QSize area);
    // Draws the current frame onto the picture.
    void draw(QImage& frame) const;

private:
    struct Spark {
        QPointF at;
        QPointF velocity;
        QPointF previous;
        int age = 0;
    };
    struct Rocket {
        QPointF at;
        QPointF velocity;
        uint32_t color = 0; // OLE colour
        bool burst = false;
        QPointF centre;
        int burstAge = 0;
        QList<Spark> sparks;
    };

    void launch(QSize area);
    void explode(Rocket& rocket);
    uint32_t brightColor();

    QRandomGenerator random_;
    QList<Rocket> rockets_;
    int frame_ = 0;
};

} // namespace picbasket
