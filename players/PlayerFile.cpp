#include "players/PlayerFile.h"

#include <QBuffer>
#include <QImageReader>
#include <cstdio>
#include <cstring>

namespace picbasket {

bool PlayerFile::open(const QString& path, QString& error) {
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot read %1: %2").arg(path, file_.errorString());
        return false;
    }
    const qint64 size = file_.size();
    const uchar* mapped = size > 0 ? file_.map(0, size) : nullptr;
    if (!mapped) {
        error = QStringLiteral("cannot map %1").arg(path);
        return false;
    }
    data_ = QByteArrayView(reinterpret_cast<const char*>(mapped), size);
    return layout::fncReadProgramContent(data_, content_, error);
}

QByteArrayView PlayerFile::bytes(int index) const {
    const layout::ImageEntry& entry = content_.images.at(index);
    return data_.sliced(entry.offset, entry.length);
}

QImage PlayerFile::decode(int index, QSize fit) const {
    if (index < 0 || index >= imageCount())
        return {};
    QByteArray data = QByteArray::fromRawData(bytes(index).data(), bytes(index).size());
    QBuffer buffer(&data);
    QImageReader reader(&buffer, "jpeg");
    const QSize own = reader.size();
    if (fit.isValid() && own.isValid())
        reader.setScaledSize(fncFitSize(own, fit));
    return reader.read();
}

QSize fncFitSize(QSize image, QSize box, bool enlarge) {
    if (image.isEmpty() || box.isEmpty())
        return image;
    if (!enlarge && image.width() <= box.width() && image.height() <= box.height())
        return image;
    return image.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

int fncPlayerInterval(const PlayerFile& file, int defaultInterval) {
    return file.content().hasOptions ? file.content().options.interval : defaultInterval;
}

uint32_t fncPlayerColor(const PlayerFile& file, uint32_t defaultColor) {
    return file.content().hasOptions ? uint32_t(file.content().options.backColor) : defaultColor;
}

int fncStartPlayer(int argc, char** argv, PlayerFile& file, int defaultInterval,
                   uint32_t defaultColor) {
    bool verify = false;
    for (int i = 1; i < argc; ++i)
        verify = verify || std::strcmp(argv[i], "--verify") == 0;
    QString error;
    if (!file.open(QStringLiteral("/proc/self/exe"), error)) {
        std::fprintf(stderr, "This program's images cannot be read: %s\n", qPrintable(error));
        return 1;
    }
    if (!verify)
        return -1;
    for (int i = 0; i < file.imageCount(); ++i) {
        if (file.decode(i).isNull()) {
            std::fprintf(stderr, "image %d (%s) cannot be decoded\n", i + 1,
                         qPrintable(file.content().images.at(i).name));
            return 1;
        }
    }
    const uint32_t ole = fncPlayerColor(file, defaultColor);
    std::printf("images=%d interval=%d color=%02X%02X%02X\n", file.imageCount(),
                fncPlayerInterval(file, defaultInterval), ole & 0xFF, (ole >> 8) & 0xFF,
                (ole >> 16) & 0xFF);
    return 0;
}

} // namespace picbasket
