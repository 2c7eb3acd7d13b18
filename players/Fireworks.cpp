#include "players/Fireworks.h"

#include "players/clsDemoClock.h"

#include <cmath>

namespace picbasket {

namespace {
constexpr double Gravity = 0.12;
constexpr int SparkLife = 55;
constexpr int SparksPerBurst = 36;
} // namespace

uint32_t Fireworks::brightColor() {
    static const uint32_t colors[] = {0x0040FFFF, 0x004080FF, 0x00FF80FF, 0x0080FF80,
                                      0x00FFFF40, 0x00FFFFFF, 0x0000C0FF, 0x00FF40C0};
    return colors[random_.bounded(int(std::size(colors)))];
}

void Fireworks::launch(QSize area) {
    Rocket rocket;
    rocket.at = QPointF(area.width() * (0.15 + 0.7 * random_.generateDouble()), area.height());
    // Fast enough to climb into the upper half before it slows down.
    const double climb =
        std::sqrt(2 * Gravity * area.height() * (0.5 + 0.3 * random_.generateDouble()));
    rocket.velocity = QPointF(random_.generateDouble() * 2 - 1, -climb);
    rocket.color = brightColor();
    rockets_.append(rocket);
}

void Fireworks::explode(Rocket& rocket) {
    rocket.burst = true;
    rocket.centre = rocket.at;
    const double speed = 3.5 + 3.0 * random_.generateDouble();
    for (int i = 0; i < SparksPerBurst; ++i) {
        const double angle = 2 * M_PI * i / SparksPerBurst;
        Spark spark;
        spark.at = spark.previous = rocket.at;
        spark.velocity = QPointF(speed * std::sin(angle), speed * std::cos(angle));
        rocket.sparks.append(spark);
    }
}

void Fireworks::advance(QSize area) {
    ++frame_;
    if (frame_ % 15 == 1 && rockets_.size() < 6)
        launch(area);
    for (Rocket& rocket : rockets_) {
        if (!rocket.burst) {
            rocket.at += rocket.velocity;
            rocket.velocity.ry() += Gravity;
            if (rocket.velocity.y() >= -0.5)
                explode(rocket);
            continue;
        }
        ++rocket.burstAge;
        for (Spark& spark : rocket.sparks) {
            spark.previous = spark.at;
            spark.at += spark.velocity;
            spark.velocity *= 0.96;
            spark.velocity.ry() += Gravity * 0.5;
            ++spark.age;
        }
    }
    rockets_.removeIf([](const Rocket& r) { return r.burst && r.burstAge > SparkLife; });
}

void Fireworks::draw(QImage& frame) const {
    clsDemoClock clock;
    clock.DIB(&frame, frame.width(), frame.height());
    for (const Rocket& rocket : rockets_) {
        if (!rocket.burst) {
            const QPointF tail = rocket.at - rocket.velocity * 3;
            clock.LineDIB(int16_t(rocket.at.x()), int16_t(rocket.at.y()), int16_t(tail.x()),
                          int16_t(tail.y()), 0x0080E0FF);
            continue;
        }
        // The ring of the burst, in short arcs towards each spark, while it is young.
        if (rocket.burstAge < 10) {
            const int radius = 6 + rocket.burstAge * 4;
            for (int i = 0; i < SparksPerBurst; i += 3) {
                const float angle = 360.0f * i / SparksPerBurst;
                clock.ArcDIB(int32_t(rocket.centre.x()), int32_t(rocket.centre.y()), radius, radius,
                             angle, angle + 8, rocket.color, 1);
            }
        }
        // Trails shorten as the sparks age; each is two lines side by side.
        const double trail = 8.0 * (SparkLife - rocket.burstAge) / SparkLife;
        for (const Spark& spark : rocket.sparks) {
            const QPointF tail = spark.at - spark.velocity * trail;
            for (int side = 0; side < 2; ++side)
                clock.LineDIB(int16_t(spark.at.x() + side), int16_t(spark.at.y()),
                              int16_t(tail.x() + side), int16_t(tail.y()), rocket.color);
        }
    }
    clock.Array2Pic();
}

} // namespace picbasket
