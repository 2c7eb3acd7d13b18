#pragma once
#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>

namespace picbasket {

// Draws anti-aliased ellipses, arcs and lines in one colour, either pixel by pixel
// straight onto an image (the GP members) or into a 32-bit pixel array taken from
// an image (the DIB members), which Array2Pic writes back in one go. Arcs are
// measured in degrees from the bottom of the ellipse, clockwise towards the right,
// as on a clock face:
//
//            180
//        270  +  90
//             0
//
// Blending uses the divisor 256 and writes alphas above 252 unblended, so 253 to 255
// are exact and full alpha below that darkens slightly.
class clsDemoClock {
public:
    // Where the refusals of the DIB members go: the program shows a message box,
    // the players write to standard error (the default).
    using Reporter = std::function<void(const QString& message)>;
    static Reporter setReporter(Reporter reporter);

    // Takes the image (kept by pointer until Array2Pic) and reads its pixels into
    // the W1 x H1 array; pixels beyond the image start black.
    void DIB(QImage* bitmap, int32_t W1, int32_t H1);
    void CircleGP(QImage& hdc, int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY,
                  uint32_t Color, int32_t Thickness);
    void ArcGP(QImage& hdc, int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY,
               float StartAngle, float StopAngle, uint32_t Color, int32_t Thickness);
    void CircleDIB(int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY, uint32_t Color,
                   int32_t Thickness);
    void ArcDIB(int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY, float StartAngle,
                float StopAngle, uint32_t Color, int32_t Thickness);
    void SetRGBComponents(uint32_t Color);
    void LineGP(QImage& hdc, int16_t X1, int16_t Y1, int16_t X2, int16_t Y2, uint32_t Color);
    void LineDIB(int16_t X1, int16_t Y1, int16_t X2, int16_t Y2, uint32_t Color);
    // Writes the array back into the image given to DIB; ends the drawing pass.
    void Array2Pic();

    bool HasArray() const { return hasArray_; }
    int32_t Red() const { return red_; }
    int32_t Green() const { return green_; }
    int32_t Blue() const { return blue_; }
    uint32_t DrawColor() const { return drawColor_; }
    // The array (Format_RGB32: blue in the lowest byte, then green, then red).
    const QImage& Pixels() const { return pixels_; }

private:
    // Where a drawing member puts one pixel with its alpha.
    using Blend = std::function<void(int x, int y, int alpha)>;

    static uint32_t fncTranslateColor(uint32_t color);
    void subCreateDIBArray();
    static float fncAngleStep(int32_t radius, int32_t thickness);
    void subBlendPixelGP(QImage& hdc, int x, int y, int alpha) const;
    void subBlendPixelDIB(int x, int y, int alpha);
    bool requireArray(const char* member) const;
    void ellipse(int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY, int32_t Thickness,
                 const Blend& blend) const;
    void arc(int32_t X1, int32_t Y1, int32_t RadiusX, int32_t RadiusY, float StartAngle,
             float StopAngle, int32_t Thickness, const Blend& blend) const;
    void line(int X1, int Y1, int X2, int Y2, const Blend& blend, const Blend& core) const;

    QImage* bitmap_ = nullptr;
    int32_t w1_ = 0;
    int32_t h1_ = 0;
    QImage pixels_;
    bool hasArray_ = false;
    int32_t red_ = 0;
    int32_t green_ = 0;
    int32_t blue_ = 0;
    uint32_t drawColor_ = 0;
};

} // namespace picbasket
