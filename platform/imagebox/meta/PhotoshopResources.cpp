#include "platform/imagebox/meta/PhotoshopResources.h"

#include "core/AppError.h"

#include <QCryptographicHash>
#include <algorithm>
#include <optional>
#include <vector>

namespace picbasket::photoshopresources {

namespace {

struct Resource {
    uint16_t id = 0;
    QByteArray whole; // signature to the end of its padded value
    qint64 valueAt = 0, valueSize = 0; // within whole
};

bool isSignature(const QByteArray& s) {
    return s == "8BIM" || s == "MeSa" || s == "PHUT" || s == "AgHg" || s == "DCSR" || s == "8B64";
}

uint32_t be(const QByteArray& b, qint64 at, int size) {
    uint32_t v = 0;
    for (int i = 0; i < size; ++i)
        v = v << 8 | uchar(b[at + i]);
    return v;
}

[[noreturn]] void damaged(qint64 at, const QString& why) {
    raiseError(err::Unexpected,
               QStringLiteral("The Photoshop image resources are damaged at byte %1 (%2); the "
                              "file was left as it was, since writing the IPTC would drop them")
                   .arg(at)
                   .arg(why));
}

bool onlyZeros(const QByteArray& b, qint64 from) {
    for (qint64 i = from; i < b.size(); ++i)
        if (b[i] != '\0')
            return false;
    return true;
}

// The resource at at, or what keeps it from being one.
std::optional<QString> parseOne(const QByteArray& b, qint64 at, Resource& r) {
    if (b.size() - at < 12 || !isSignature(b.mid(at, 4)))
        return QStringLiteral("no resource starts there");
    const qint64 nameLength = uchar(b[at + 6]);
    const qint64 sizeAt = at + 6 + ((1 + nameLength + 1) & ~qint64(1));
    if (sizeAt + 4 > b.size())
        return QStringLiteral("its name runs past the end");
    const qint64 size = be(b, sizeAt, 4);
    const qint64 end = sizeAt + 4 + size;
    if (end > b.size())
        return QStringLiteral("its value of %1 bytes runs past the end").arg(size);
    const qint64 padded = std::min<qint64>(b.size(), end + (size & 1));
    r = {uint16_t(be(b, at + 4, 2)), b.mid(at, padded - at), sizeAt + 4 - at, size};
    return std::nullopt;
}

// The resources up to zero padding at the end. At damage this raises, or with
// upToDamage gives those before it.
std::vector<Resource> parse(const QByteArray& b, bool upToDamage = false) {
    std::vector<Resource> out;
    for (qint64 at = 0; at < b.size() && !onlyZeros(b, at);) {
        Resource r;
        if (const std::optional<QString> why = parseOne(b, at, r)) {
            if (upToDamage)
                break;
            damaged(at, *why);
        }
        at += r.whole.size();
        out.push_back(std::move(r));
    }
    return out;
}

QByteArray resource(uint16_t id, const QByteArray& value) {
    QByteArray r("8BIM");
    r.append(char(id >> 8)).append(char(id & 0xFF));
    r.append(2, '\0'); // an empty name, padded
    for (int shift = 24; shift >= 0; shift -= 8)
        r.append(char((value.size() >> shift) & 0xFF));
    r.append(value);
    if (value.size() & 1)
        r.append('\0');
    return r;
}

} // namespace

QByteArray withIptc(const QByteArray& resources, const QByteArray& iptcStream) {
    const std::vector<Resource> parsed = parse(resources);
    const QByteArray digest =
        QCryptographicHash::hash(iptcStream, QCryptographicHash::Md5);
    QByteArray out;
    bool placed = false;
    for (const Resource& r : parsed) {
        if (r.id == kIptcResource) {
            if (!placed && !iptcStream.isEmpty())
                out += resource(kIptcResource, iptcStream);
            placed = true;
        } else if (r.id == kIptcDigestResource && r.whole.startsWith("8BIM")) {
            if (!iptcStream.isEmpty())
                out += resource(kIptcDigestResource, digest);
        } else {
            out += r.whole;
        }
    }
    if (!placed && !iptcStream.isEmpty())
        out += resource(kIptcResource, iptcStream);
    return out;
}

QByteArray forNewPicture(const QByteArray& resources) {
    QByteArray out;
    for (const Resource& r : parse(resources, true))
        if (r.id != 0x0409 && r.id != 0x040C)
            out += r.whole;
    return out;
}

QByteArray iptcOf(const QByteArray& resources) {
    try {
        for (const Resource& r : parse(resources))
            if (r.id == kIptcResource)
                return r.whole.mid(r.valueAt, r.valueSize);
    } catch (const AppError&) {
    }
    return {};
}

} // namespace picbasket::photoshopresources
