#pragma once
#include <QString>

namespace picbasket::imagebox {

// What the decoders say about the data they decode. libtiff, libjpeg (inside Qt's
// JPEG reader and inside TIFF), libpng and FreeImage report damaged data as
// warnings or messages and still hand back a picture with filler where the data
// went wrong. A DamageWatch collects those reports for the decode running on its
// thread, so every route can refuse such a picture by one rule.
//
// Reports that say nothing about the pixel data are not damage: libtiff's notes
// while reading a directory (unknown tags, trimmed counts) and libpng's about
// ancillary chunks.
class DamageWatch {
public:
    DamageWatch();
    ~DamageWatch();
    DamageWatch(const DamageWatch&) = delete;
    DamageWatch& operator=(const DamageWatch&) = delete;

    bool damaged() const { return !first_.isEmpty(); }
    // The first report, for the refusal's message.
    const QString& firstReport() const { return first_; }

    // Called by the decoders' handlers; counts only while a watch runs on this thread.
    static void report(const QString& text);

private:
    DamageWatch* outer_;
    QString first_;
};

// Whether a FreeImage message is about the data (see DamageWatch).
bool isDamageMessage(int freeImageFormat, const QString& message);

} // namespace picbasket::imagebox
