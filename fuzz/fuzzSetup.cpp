#include "core/AppPaths.h"
#include "core/setup/SetupCodec.h"
#include "core/setup/modSetup.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

#include <QFile>

// The setup loader on an arbitrary setup file. Properties: whatever the file
// holds, the loaded record's indexes and sizes are in their ranges, and saving
// it and loading it again gives the very same bytes.
namespace picbasket::fuzz {

namespace {

void useFuzzFolderAsDataRoot() {
    static const bool done = [] {
        AppPaths::overrideProgramFolder(fuzzFolder());
        AppPaths::overrideDataRoot(fuzzFolder());
        AppPaths::overrideExecutableName(QStringLiteral("fuzz"));
        return true;
    }();
    (void)done;
}

bool inRange(int value, int low, int high) {
    return value >= low && value <= high;
}

void checkRanges(const typSetup& s) {
    fuzzCheck(inRange(s.FolderList.ThumbnailWidth, 20, 300) &&
                  inRange(s.FolderList.ThumbnailHeight, 20, 300) &&
                  inRange(s.BasketList.ThumbnailWidth, 20, 300) &&
                  inRange(s.BasketList.ThumbnailHeight, 20, 300),
              "a thumbnail size outside 20..300 after loading");
    fuzzCheck(inRange(s.FolderList.FileSizeFormat, 0, 1) && inRange(s.Capture.Mode, 0, 2) &&
                  inRange(s.Twain.SinglePageFormat, 0, 5) &&
                  inRange(s.TaskDefaults.Frame.Style, 0, 7),
              "a list index outside its list after loading");
    for (int16_t width : s.FolderList.ColumnWidth)
        fuzzCheck(width >= 0, "a negative column width after loading");
}

QByteArray fileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

int fuzzSetup(const uint8_t* data, size_t size) {
    ensureFuzzEnvironment();
    useFuzzFolderAsDataRoot();
    writeFuzzFile(QStringLiteral("fuzz.setup"), fuzzBytes(data, size));
    subLoadSetup();
    checkRanges(Setup);

    const QByteArray written = encodeSetup(Setup);
    subSaveSetup();
    fuzzCheck(fileBytes(SetupFile) == written, "the saved setup file differs from the record");
    subLoadSetup();
    fuzzCheck(encodeSetup(Setup) == written, "a saved setup does not load back byte for byte");
    return 0;
}

} // namespace picbasket::fuzz
