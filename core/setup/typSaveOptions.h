#pragma once
#include "core/OleColor.h"

#include <QString>
#include <cstdint>

namespace picbasket {

// Options of the save dialog's per-format panel and of saving the preview. The
// option values are the panel's button and list indexes; the initial values are the
// defaults of a first run.
struct typJPGOptions {
    int32_t ColorDepth = 0; // 0 "24 bit", 1 "8bit"
    int16_t Quality = 80;
    uint8_t Encoding = 0; // 0 "Standard", 1 "Progressive"

    bool operator==(const typJPGOptions&) const = default;
};

struct typJPEG2000Options {
    uint8_t Lossy = 1; // 1 "Lossy" (Rate applies), 0 "Loseless"
    int16_t Rate = 20;

    bool operator==(const typJPEG2000Options&) const = default;
};

struct typGIFOptions {
    uint8_t Compression = 0; // 0 "None", 1 "LZW"
    uint8_t Transparent = 0;
    OleColor TransparentColor = syscolor::HighlightText;
    int32_t Reserved = 1;

    bool operator==(const typGIFOptions&) const = default;
};

struct typPNGOptions {
    int32_t ColorDepth = 0; // 0 "24 bit", 1 "8bit"
    uint8_t Transparent = 0;
    OleColor TransparentColor = syscolor::HighlightText;

    bool operator==(const typPNGOptions&) const = default;
};

struct typPNMOptions {
    uint8_t Format = 1; // 0 "RAW", 1 "ASCII"
    int32_t Reserved = 0;

    bool operator==(const typPNMOptions&) const = default;
};

struct typTIFFOptions {
    // 0 none, 1 Packbits, 2 CCITT Group 4 Fax, 3 CCITT Group 3 Fax, 4 LZW, 5 JPEG, 6 Deflate
    int16_t Compression = 0;
    int32_t Reserved = 0;

    bool operator==(const typTIFFOptions&) const = default;
};

struct typFormatOptions {
    typJPGOptions JPG;
    typJPEG2000Options JPEG2000;
    typGIFOptions GIF;
    typPNGOptions PNG;
    typPNMOptions PNM;
    typTIFFOptions TIFF;

    bool operator==(const typFormatOptions&) const = default;
};

struct typSaveOptions {
    QString DefaultFormat = QStringLiteral("tif");
    typFormatOptions Formats;
    uint8_t ProcessTasks = 1; // apply the task basket before saving
    uint8_t AppendMode = 0;   // multipage append: 0 beginning of file, 1 end of file
    uint8_t OutputMode = 0;   // multipage output: 0 overwrite, 1 new file

    bool operator==(const typSaveOptions&) const = default;
};

} // namespace picbasket
