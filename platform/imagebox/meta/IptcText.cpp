#include "platform/imagebox/meta/IptcText.h"

#include <array>
#include <map>
#include <vector>
#include <iterator>

namespace picbasket::iptctext {

namespace {

const std::string kUtf8Marker = "\x1B%G";

// Windows-1252 code points of 0x80 to 0x9F; the five unassigned bytes keep
// their Latin-1 meaning.
const std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

bool isMarker(const Exiv2::Iptcdatum& d) {
    return d.record() == 1 && d.tag() == 90;
}

bool markedUtf8(const Exiv2::IptcData& iptc) {
    for (const Exiv2::Iptcdatum& d : iptc) {
        if (isMarker(d)) {
            return d.toString() == kUtf8Marker;
        }
    }
    return false;
}

void eraseMarkers(Exiv2::IptcData& iptc) {
    for (auto it = iptc.begin(); it != iptc.end();) {
        it = isMarker(*it) ? iptc.erase(it) : std::next(it);
    }
}

} // namespace

QString fromWindows1252(const QByteArray& bytes) {
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        text += (b >= 0x80 && b <= 0x9F) ? QChar(kHighControls[b - 0x80]) : QChar(b);
    }
    return text;
}

void normalise(Exiv2::IptcData& iptc) {
    if (!markedUtf8(iptc)) {
        for (Exiv2::Iptcdatum& d : iptc) {
            if (d.record() == 2 && d.typeId() == Exiv2::string) {
                const std::string raw = d.toString();
                d.setValue(fromWindows1252(QByteArray::fromStdString(raw)).toStdString());
            }
        }
    }
    eraseMarkers(iptc);
}

void keepTimesAsWritten(Exiv2::IptcData& iptc, const QByteArray& stream) {
    if (!checkRecordStream(stream).isEmpty())
        return;
    std::map<std::pair<int, int>, std::vector<QByteArray>> raw;
    const auto* p = reinterpret_cast<const unsigned char*>(stream.constData());
    for (qint64 pos = 0; pos + 5 <= stream.size();) {
        const qint64 length = (qint64(p[pos + 3]) << 8) | p[pos + 4];
        if (length & 0x8000)
            return; // extended lengths are no times; the rest is left as Exiv2 read it
        raw[{p[pos + 1], p[pos + 2]}].push_back(stream.mid(pos + 5, length));
        pos += 5 + length;
    }
    std::map<std::pair<int, int>, size_t> seen;
    for (Exiv2::Iptcdatum& d : iptc) {
        const std::pair<int, int> key{d.record(), d.tag()};
        const size_t index = seen[key]++;
        if (d.typeId() != Exiv2::time)
            continue;
        const auto it = raw.find(key);
        if (it == raw.end() || index >= it->second.size())
            continue;
        const QByteArray& text = it->second[index];
        if (text.size() == 6) {
            Exiv2::StringValue asWritten(text.toStdString());
            d.setValue(&asWritten);
        }
    }
}

bool hasApplicationData(const Exiv2::IptcData& iptc) {
    for (const Exiv2::Iptcdatum& d : iptc) {
        if (d.record() == 2 && d.tag() != 0) {
            return true;
        }
    }
    return false;
}

Exiv2::IptcData toWritable(const Exiv2::IptcData& iptc) {
    Exiv2::IptcData out;
    if (!hasApplicationData(iptc)) {
        return out;
    }
    // Records in ascending order, the datasets of each in the order they were
    // added (keywords keep their order); the marker and the version lead their records.
    Exiv2::StringValue marker(kUtf8Marker);
    out.add(Exiv2::IptcKey(90, 1), &marker);
    for (const Exiv2::Iptcdatum& d : iptc) {
        if (d.record() == 1 && !isMarker(d)) {
            out.add(d);
        }
    }
    auto version = iptc.findId(0, 2);
    if (version != iptc.end()) {
        out.add(*version);
    } else {
        Exiv2::UShortValue number;
        number.value_.push_back(4);
        out.add(Exiv2::IptcKey(0, 2), &number);
    }
    for (const Exiv2::Iptcdatum& d : iptc) {
        if (d.record() >= 2 && !(d.record() == 2 && d.tag() == 0)) {
            out.add(d);
        }
    }
    return out;
}

QString checkRecordStream(const QByteArray& bytes) {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.constData());
    const qint64 size = bytes.size();
    if (size == 0 || p[0] != 0x1C) {
        return QStringLiteral("the data does not start with an IPTC dataset marker");
    }
    qint64 pos = 0;
    while (pos < size) {
        if (p[pos] != 0x1C || size - pos < 5) {
            return QStringLiteral("a dataset is cut short or has no marker at byte %1").arg(pos);
        }
        quint64 length = (quint64(p[pos + 3]) << 8) | p[pos + 4];
        pos += 5;
        if (length & 0x8000) {
            // Extended dataset: the low bits give how many bytes hold the length.
            const quint64 lengthBytes = length & 0x7FFF;
            if (lengthBytes == 0 || lengthBytes > 4 || qint64(lengthBytes) > size - pos) {
                return QStringLiteral("a dataset has a bad extended length at byte %1").arg(pos);
            }
            length = 0;
            for (quint64 i = 0; i < lengthBytes; ++i) {
                length = (length << 8) | p[pos++];
            }
        }
        if (length > quint64(size - pos)) {
            return QStringLiteral("a dataset claims more bytes than the data holds");
        }
        pos += qint64(length);
    }
    return {};
}

} // namespace picbasket::iptctext
