#include "platform/imagebox/PdfWriter.h"
#include "core/AppError.h"
#include "platform/imagebox/ColorFormatCopy.h"
#include "platform/imagebox/FreeImageCodec.h"

#include <QList>
#include <QRegularExpression>
#include <cstring>
#include <map>

namespace picbasket::imagebox {

namespace {

const QByteArray Header = "%PDF-1.5\n%\xE2\xE3\xCF\xD3\n";
const QByteArray Marker = "%PicBasket image document\n";
constexpr int CatalogObject = 1;
constexpr int PagesObject = 2;

// The objects of one write (the whole file or one update), numbered.
struct Objects {
    std::map<int, QByteArray> bodies;
    int next = 3;
    int add(QByteArray body) {
        bodies[next] = std::move(body);
        return next++;
    }
};

QByteArray flate(const QByteArray& data) {
    // qCompress puts a 4-byte length in front of the zlib stream.
    return qCompress(data, 6).mid(4);
}

QByteArray stream(const QByteArray& dictionary, const QByteArray& data) {
    const QByteArray packed = flate(data);
    return "<< " + dictionary + " /Filter /FlateDecode /Length " +
           QByteArray::number(packed.size()) + " >>\nstream\n" + packed + "\nendstream";
}

QByteArray hexPalette(const QList<QRgb>& colours) {
    QByteArray hex;
    for (QRgb c : colours)
        hex += QByteArray::number(qRed(c), 16).rightJustified(2, '0') +
               QByteArray::number(qGreen(c), 16).rightJustified(2, '0') +
               QByteArray::number(qBlue(c), 16).rightJustified(2, '0');
    return "[/Indexed /DeviceRGB " + QByteArray::number(colours.size() - 1) + " <" + hex + ">]";
}

QByteArray packedRows(const QImage& image, int bytesPerRow) {
    QByteArray data;
    data.reserve(qsizetype(bytesPerRow) * image.height());
    for (int y = 0; y < image.height(); ++y)
        data.append(reinterpret_cast<const char*>(image.constScanLine(y)), bytesPerRow);
    return data;
}

bool hasTransparentEntry(const QImage& image) {
    for (QRgb c : image.colorTable()) {
        if (qAlpha(c) != 255)
            return true;
    }
    return false;
}

// The alpha of every pixel, one byte each.
QByteArray alphaPlane(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    QByteArray data;
    data.reserve(qsizetype(argb.width()) * argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            data.append(char(qAlpha(p[x])));
    }
    return data;
}

QByteArray imageHeader(const QImage& image, const QByteArray& space, int bits) {
    return "/Type /XObject /Subtype /Image /Width " + QByteArray::number(image.width()) +
           " /Height " + QByteArray::number(image.height()) + " /ColorSpace " + space +
           " /BitsPerComponent " + QByteArray::number(bits);
}

// The image XObject (and its soft mask when it has alpha); returns its number.
int addImage(Objects& objects, const QImage& source) {
    const QImage image = toBoxFormat(source);
    const int w = image.width();
    QByteArray dictionary, data;
    bool alpha = image.hasAlphaChannel() || hasTransparentEntry(image);
    switch (image.format()) {
    case QImage::Format_Mono:
        dictionary = imageHeader(image, hexPalette(image.colorTable()), 1);
        data = packedRows(image, (w + 7) / 8);
        break;
    case QImage::Format_Indexed8:
        dictionary = imageHeader(image, hexPalette(image.colorTable()), 8);
        data = packedRows(image, w);
        break;
    case QImage::Format_Grayscale8:
    case QImage::Format_Grayscale16: {
        const QImage grey = toGrey8(image);
        dictionary = imageHeader(grey, "/DeviceGray", 8);
        data = packedRows(grey, w);
        break;
    }
    default: {
        const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
        dictionary = imageHeader(rgb, "/DeviceRGB", 8);
        data = packedRows(rgb, w * 3);
    }
    }
    if (alpha) {
        const int mask =
            objects.add(stream(imageHeader(image, "/DeviceGray", 8), alphaPlane(image)));
        dictionary += " /SMask " + QByteArray::number(mask) + " 0 R";
    }
    return objects.add(stream(dictionary, data));
}

// Page size in points: the image at its resolution, 72 dpi when it has none.
QByteArray mediaSize(const QImage& image) {
    const double dpiX = image.dotsPerMeterX() > 0 ? image.dotsPerMeterX() * 0.0254 : 72.0;
    const double dpiY = image.dotsPerMeterY() > 0 ? image.dotsPerMeterY() * 0.0254 : 72.0;
    return QByteArray::number(image.width() * 72.0 / dpiX, 'f', 3) + " " +
           QByteArray::number(image.height() * 72.0 / dpiY, 'f', 3);
}

int addPage(Objects& objects, const QImage& image) {
    const int xobject = addImage(objects, image);
    const QByteArray size = mediaSize(image);
    const int content = objects.add(stream("", "q " + size.split(' ')[0] + " 0 0 " +
                                                   size.split(' ')[1] + " 0 0 cm /Im0 Do Q\n"));
    return objects.add("<< /Type /Page /Parent 2 0 R /MediaBox [0 0 " + size +
                       "] /Resources << /XObject << /Im0 " + QByteArray::number(xobject) +
                       " 0 R >> >> /Contents " + QByteArray::number(content) + " 0 R >>");
}

QByteArray pageTree(const QList<int>& pages) {
    QByteArray kids;
    for (int page : pages)
        kids += QByteArray::number(page) + " 0 R ";
    return "<< /Type /Pages /Kids [" + kids.trimmed() + "] /Count " +
           QByteArray::number(pages.size()) + " >>";
}

QByteArray xrefEntry(qint64 offset) {
    return QByteArray::number(offset).rightJustified(10, '0') + " 00000 n \n";
}

// Appends the objects to `out` and ends it with a cross-reference section and
// trailer; `previous` is the offset of the earlier section, or -1.
void finish(QByteArray& out, const Objects& objects, int size, qint64 previous) {
    std::map<int, qint64> offsets;
    for (const auto& [number, body] : objects.bodies) {
        offsets[number] = out.size();
        out += QByteArray::number(number) + " 0 obj\n" + body + "\nendobj\n";
    }
    const qint64 xref = out.size();
    out += "xref\n";
    if (previous < 0)
        out += "0 1\n0000000000 65535 f \n";
    // Consecutive object numbers form one subsection each.
    for (auto it = offsets.begin(); it != offsets.end();) {
        auto end = it;
        int count = 0;
        while (end != offsets.end() && end->first == it->first + count) {
            ++end;
            ++count;
        }
        out += QByteArray::number(it->first) + " " + QByteArray::number(count) + "\n";
        for (; it != end; ++it)
            out += xrefEntry(it->second);
    }
    out += "trailer\n<< /Size " + QByteArray::number(size) + " /Root 1 0 R";
    if (previous >= 0)
        out += " /Prev " + QByteArray::number(previous);
    out += " >>\nstartxref\n" + QByteArray::number(xref) + "\n%%EOF\n";
}

[[noreturn]] void notOurs(const QString& why) {
    raiseError(err::Unexpected,
               "Pages can only be added to a PDF file written by this program (" + why + ")");
}

// What an update needs from the document: where its last xref section is, the
// next free object number and the pages in order.
struct DocumentState {
    qint64 lastXref = -1;
    int size = 0;
    QList<int> pages;
};

DocumentState readState(const QByteArray& pdf) {
    if (!pdf.startsWith(Header + Marker))
        notOurs("its header is not ours");
    DocumentState state;
    const qsizetype start = pdf.lastIndexOf("startxref\n");
    const qsizetype end = pdf.lastIndexOf("%%EOF");
    if (start < 0 || end < start || pdf.size() - end > 8)
        notOurs("its end is missing or damaged");
    bool ok = false;
    state.lastXref = pdf.mid(start + 10, end - start - 10).trimmed().toLongLong(&ok);
    if (!ok || state.lastXref <= 0 || state.lastXref >= start ||
        pdf.mid(state.lastXref, 5) != "xref\n")
        notOurs("its cross-reference table is not where it says");
    const qsizetype trailer = pdf.lastIndexOf("trailer\n<< /Size ");
    if (trailer < state.lastXref)
        notOurs("its trailer is missing");
    state.size = pdf.mid(trailer + 17, 12).split(' ').value(0).toInt(&ok);
    if (!ok || state.size <= PagesObject || state.size > 10'000'000)
        notOurs("its trailer is damaged");
    const QByteArray treeStart = "\n2 0 obj\n<< /Type /Pages /Kids [";
    const qsizetype tree = pdf.lastIndexOf(treeStart);
    const qsizetype kidsEnd = tree < 0 ? -1 : pdf.indexOf("]", tree);
    if (tree < 0 || kidsEnd < 0)
        notOurs("its page tree is missing");
    const qsizetype kidsStart = tree + treeStart.size();
    const QByteArray kids = pdf.mid(kidsStart, kidsEnd - kidsStart).simplified();
    const QList<QByteArray> parts = kids.split(' ');
    for (qsizetype i = 0; i + 2 < parts.size(); i += 3) {
        const int page = parts[i].toInt(&ok);
        if (!ok || page <= PagesObject || page >= state.size || parts[i + 1] != "0" ||
            parts[i + 2] != "R")
            notOurs("its page tree is damaged");
        state.pages.append(page);
    }
    if (state.pages.isEmpty() || parts.size() != state.pages.size() * 3)
        notOurs("its page tree is damaged");
    return state;
}

} // namespace

QByteArray writePdf(const QImage& image) {
    Objects objects;
    const int page = addPage(objects, image);
    objects.bodies[CatalogObject] = "<< /Type /Catalog /Pages 2 0 R >>";
    objects.bodies[PagesObject] = pageTree({page});
    QByteArray out = Header + Marker;
    finish(out, objects, objects.next, -1);
    return out;
}

QByteArray appendPdfPage(const QByteArray& pdf, const QImage& image) {
    DocumentState state = readState(pdf);
    Objects objects;
    objects.next = state.size;
    state.pages.append(addPage(objects, image));
    objects.bodies[PagesObject] = pageTree(state.pages);
    QByteArray out = pdf;
    if (!out.endsWith('\n'))
        out += '\n';
    finish(out, objects, objects.next, state.lastXref);
    return out;
}

} // namespace picbasket::imagebox
