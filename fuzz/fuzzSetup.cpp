#include "core/AppPaths.h"
#include "core/setup/SetupCodec.h"
#include "core/setup/SetupRanges.h"
#include "core/setup/modSetup.h"
#include "fuzz/FuzzSupport.h"
#include "fuzz/FuzzTargets.h"

#include <QFile>

// The setup loader on an arbitrary setup file. Properties: whatever the file
// holds, every member of the loaded record is in its range, and saving
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

// A file with values out of range is damaged and gives the defaults, so what is
// loaded is always a record the program could have saved itself.
void checkRanges(const typSetup& s) {
    fuzzCheck(fncSetupRangeFault(s).isEmpty(), "a member outside its range after loading");
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
