#include "core/AppError.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"
#include "platform/imagebox/ImageBox.h"

// The metadata readers and writers on arbitrary files. The first byte chooses
// what the rest is ((byte % 5): a ".jpg", ".tif", ".psd" or ".png" image read
// with its EXIF and IPTC, or an IPTC ".ffo" file read onto a small image) and
// the file written ((byte / 5) % 2: ".jpg" or ".tif", the latter through our
// patch of the first TIFF directory). Every EXIF entry and IPTC text is read,
// a caption is set, the image saved and read again, and the caption written
// into the input file in place as the metadata commands do. Properties: the
// caption survives the save, the in-place write and an ".ffo" round trip, and
// an Artist set afterwards survives its in-place write.
namespace picbasket::fuzz {

namespace {

const QString caption = QStringLiteral("fuzz caption");

void loadInput(ImageBox& box, uint8_t choice, const QByteArray& bytes) {
    static const char* const extensions[] = {"jpg", "tif", "psd", "png", "ffo"};
    const int kind = choice % 5;
    const QString path = writeFuzzFile(QStringLiteral("meta.") + extensions[kind], bytes);
    if (kind < 4) {
        box.LoadFromFile(path);
        return;
    }
    QImage small(8, 8, QImage::Format_RGB32);
    small.fill(Qt::gray);
    box.setImage(small);
    box.LoadIptcFromFile(path);
}

void readEverything(const ImageBox& box) {
    for (int i = 0; i < box.ExifCount(); ++i) {
        (void)box.ExifNameByIndex(i);
        (void)box.ExifValueByIndex(i);
    }
    (void)box.IptcKeywords();
    (void)box.IptcHeadline();
    (void)box.IptcDateCreated();
}

void checkSavedCaption(ImageBox& box, uint8_t choice) {
    const QString out =
        fuzzFolder() + ((choice / 5) % 2 ? QStringLiteral("/out.tif") : QStringLiteral("/out.jpg"));
    box.SaveToFile(out);
    ImageBox again;
    again.LoadFromFile(out);
    fuzzCheck(again.IptcCaption() == caption, "the caption is lost when the image is saved");

    if (choice % 5 < 2) {
        const QString input = fuzzFolder() + QStringLiteral("/meta.") +
                              (choice % 5 ? QStringLiteral("tif") : QStringLiteral("jpg"));
        box.SaveJpegMetadata(input);
        ImageBox edited;
        edited.LoadFromFile(input);
        fuzzCheck(edited.IptcCaption() == caption, "the caption is lost when written in place");
        // An EXIF edit in place rebuilds the EXIF block from the one the file has.
        if (edited.SetExifAttribute(QStringLiteral("Artist"), QStringLiteral("fuzz"))) {
            edited.SaveJpegMetadata(input);
            ImageBox exifEdited;
            exifEdited.LoadFromFile(input);
            fuzzCheck(exifEdited.ExifValueByName(QStringLiteral("Artist")) == "fuzz",
                      "an EXIF edit is lost when written in place");
        }
    }

    const QString ffo = fuzzFolder() + QStringLiteral("/out.ffo");
    box.SaveIptcToFile(ffo);
    again.DeleteAllIptc();
    again.LoadIptcFromFile(ffo);
    fuzzCheck(again.IptcCaption() == caption, "the caption is lost in an \".ffo\" round trip");
}

} // namespace

int fuzzMetadata(const uint8_t* data, size_t size) {
    if (size < 1)
        return 0;
    ensureFuzzEnvironment();
    ImageBox box;
    try {
        loadInput(box, data[0], fuzzBytes(data + 1, size - 1));
    } catch (const AppError&) {
        return 0;
    }
    if (!box.HasImage() || qint64(box.ImageWidth()) * box.ImageHeight() > 1 << 20)
        return 0;
    readEverything(box);
    box.setIptcCaption(caption);
    try {
        checkSavedCaption(box, data[0]);
    } catch (const AppError&) {
        // A refusal to write what was read is reported to the user, not lost.
    }
    return 0;
}

} // namespace picbasket::fuzz
