#pragma once
#include <QString>
#include <cstdint>

namespace picbasket {

// Options of the batch JPEG 2000 conversion of the image basket, edited by the batch
// options dialog and read by the conversion. DestinationFolder's first-run value (the
// program's folder) is filled in by the setup defaults.
struct typBatchSave {
    uint8_t Lossy = 1; // 1 "Lossy" (Rate applies), 0 "Loseless"
    int16_t Rate = 20;
    uint8_t Codestream = 0; // 0 JP2 file (.jp2), 1 raw codestream (.jpc)
    QString Suffix;
    QString Prefix;
    QString Separator1 = QStringLiteral("_");
    QString Separator2 = QStringLiteral("_");
    int16_t NameMode = 0; // 0 source name, 1 prefix-name-suffix, 2 generic name and counter
    QString GenericName = QStringLiteral("Sample");
    QString Counter = QStringLiteral("[Starting 1]");
    uint8_t DestinationMode = 0; // 0 each source file's folder, 1 DestinationFolder
    QString DestinationFolder;
    uint8_t Overwrite = 1;
    bool Confirmed = false; // the dialog's result; cleared by the caller before showing it
    uint8_t ProcessTasks = 1;

    bool operator==(const typBatchSave&) const = default;
};

} // namespace picbasket
