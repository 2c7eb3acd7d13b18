#pragma once
#include "players/ProgramLayout.h"

#include <QFile>
#include <QImage>
#include <QSize>
#include <QString>

namespace picbasket {

// A player's view of its own file (/proc/self/exe): the file mapped whole, the
// layout read from it, and each image decoded when it is needed.
class PlayerFile {
public:
    // Maps and reads the file; false with a plain reason when it cannot be read or
    // its layout is damaged.
    bool open(const QString& path, QString& error);

    const layout::ProgramContent& content() const { return content_; }
    int imageCount() const { return int(content_.images.size()); }
    // Image `index`, scaled down to fit `fit` (aspect kept, never enlarged) while it
    // is decoded; an empty size decodes it whole. A null image when it cannot be decoded.
    QImage decode(int index, QSize fit = {}) const;

private:
    QByteArrayView bytes(int index) const;
    QFile file_;
    QByteArrayView data_;
    layout::ProgramContent content_;
};

// The size of `image` fitted into `box` with its aspect kept; never larger than
// the image unless `enlarge`.
QSize fncFitSize(QSize image, QSize box, bool enlarge = false);

// The player's start: reads its own file and, with "--verify", decodes every image,
// prints "images=N interval=S color=RRGGBB" and returns 0, or a reason on standard
// error and 1. Returns -1 when the player should go on and show its window, with
// `file` open. The interval and colour printed are the options record's when the
// file has one, else the player's own.
int fncStartPlayer(int argc, char** argv, PlayerFile& file, int defaultInterval,
                   uint32_t defaultColor);

// The interval and colour a player uses: the options record's, or its own.
int fncPlayerInterval(const PlayerFile& file, int defaultInterval);
uint32_t fncPlayerColor(const PlayerFile& file, uint32_t defaultColor);

} // namespace picbasket
