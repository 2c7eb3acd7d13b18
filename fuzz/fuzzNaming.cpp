#include "engine/batch/modNamingRules.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "platform/imagebox/ImageBox.h"

// The naming rules on arbitrary texts. The input is split at each line feed:
// line 0 is a typed prefix, line 1 a typed separator, lines 2 to 9 become the
// EXIF Make, Model, Artist and ImageDescription and the IPTC Headline, Caption,
// By-line and Reference Number of the converted image. Every token is expanded
// for the image, and the typed texts too. Property: no expansion holds a "/" or
// a NUL, either of which would take the name out of the destination folder.
namespace picbasket::fuzz {

namespace {

QString line(const QList<QByteArray>& lines, int index) {
    return index < lines.size() ? QString::fromUtf8(lines[index]) : QString();
}

void describeImage(ImageBox& box, const QList<QByteArray>& lines) {
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::white);
    box.setImage(image);
    box.setTag(QStringLiteral("4x3"));
    static const char* const exifNames[] = {"Make", "Model", "Artist", "ImageDescription"};
    for (int i = 0; i < 4; ++i)
        box.SetExifAttribute(QString::fromLatin1(exifNames[i]), line(lines, 2 + i));
    box.setIptcHeadline(line(lines, 6));
    box.setIptcCaption(line(lines, 7));
    box.setIptcByline(line(lines, 8));
    box.setIptcReferenceNumber(line(lines, 9));
}

void checkNamePart(const QString& part) {
    fuzzCheck(!part.contains(QLatin1Char('/')) && !part.contains(QChar(u'\0')),
              "a name part holds a \"/\" or a NUL");
}

} // namespace

int fuzzNaming(const uint8_t* data, size_t size) {
    ensureFuzzEnvironment();
    const QList<QByteArray> lines = fuzzBytes(data, size).split('\n');
    ImageBox box;
    describeImage(box, lines);
    const QString source = writeFuzzFile(QStringLiteral("source.jpg"), QByteArray("x"));
    for (const QString& token : fncNamingTokens())
        checkNamePart(fncRetrieveNamingString(box, token, source, QStringLiteral("jpg")));
    checkNamePart(fncRetrieveNamingString(box, line(lines, 0), source, QStringLiteral("jpg")));
    checkNamePart(fncGetSeparator(line(lines, 1)));
    return 0;
}

} // namespace picbasket::fuzz
