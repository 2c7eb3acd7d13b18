#pragma once
#include "core/OleColor.h"
#include "core/setup/typBatchSave.h"
#include "core/setup/typSaveOptions.h"
#include "core/setup/typTaskDefaults.h"

#include <QString>
#include <array>
#include <cstdint>

namespace picbasket {

// The setup record: every option that persists between runs. The initial values are
// the first-run defaults, except those that depend on the machine (folders, the
// window size in twips), which the setup defaults fill in. Column arrays are indexed
// from 0 for the first column.

struct typWindow {
    int32_t Width = 0;  // twips
    int32_t Height = 0; // twips
    uint8_t State = 0;

    bool operator==(const typWindow&) const = default;
};

// Splitter positions in percent.
struct typSplitters {
    int16_t Main = 70;
    int16_t Right = 30;
    int16_t Left = 50;
    int16_t View = 50;

    bool operator==(const typSplitters&) const = default;
};

// Check marks of the two preview menu entries.
struct typPreview {
    uint8_t Fit = 0;
    uint8_t Type = 1;

    bool operator==(const typPreview&) const = default;
};

struct typFolderList {
    int32_t ViewMode = 0; // 0 thumbnails, 3 details
    // File Name, Resolution, Size, Pages, Type, Date Created, Date Modified, Date Accessed
    std::array<int16_t, 8> ColumnWidth{100, 100, 100, 100, 100, 100, 100, 100};
    bool FullRowSelect = false;
    int16_t ThumbnailWidth = 40; // pixels, 20..300
    int16_t ThumbnailHeight = 40;
    uint8_t FileSizeFormat = 0; // 0 short size text, 1 with the exact byte count

    bool operator==(const typFolderList&) const = default;
};

struct typBasketList {
    // File Name, Resolution, Size, Type, Path
    std::array<int16_t, 5> ColumnWidth{100, 100, 100, 100, 100};
    bool FullRowSelect = false;
    int16_t ThumbnailWidth = 40;
    int16_t ThumbnailHeight = 40;
    int32_t ReservedBC = 0;
    int32_t ReservedC0 = 0;
    QString Folder;

    bool operator==(const typBasketList&) const = default;
};

struct typMetadataLists {
    std::array<int16_t, 2> ExifColumnWidth{100, 200};
    std::array<int16_t, 2> IptcColumnWidth{100, 200};

    bool operator==(const typMetadataLists&) const = default;
};

struct typTwain {
    uint8_t Destination = 0; // 0 to disk, 1 into the image basket
    uint8_t FileMode = 0;    // 0 single-page files, 1 one multipage file
    QString GenericName = QStringLiteral("Twain");
    int16_t SinglePageFormat = 0; // BMP, JPG, TIF, PDF, PSD, GIF
    int16_t MultiPageFormat = 0;  // TIF, PDF
    uint8_t Overwrite = 0;
    QString Folder; // ends in "/"

    bool operator==(const typTwain&) const = default;
};

struct typScreensaver {
    uint8_t ProcessTasks = 1;
    int16_t Quality = 80; // JPEG quality of the embedded images

    bool operator==(const typScreensaver&) const = default;
};

struct typSlideShow {
    OleColor BackColor = 0; // black
    int16_t Interval = 3;   // seconds per slide
    uint8_t ProcessTasks = 1;
    int16_t Quality = 80;

    bool operator==(const typSlideShow&) const = default;
};

struct typCapture {
    int16_t Mode = 0; // 0 "Desktop", 1 "Foreground", 2 "Background"
    QString GenericName = QStringLiteral("Captured");
    QString Folder;

    bool operator==(const typCapture&) const = default;
};

struct typGreeting {
    uint8_t ProcessTasks = 1;
    int16_t Quality = 80;

    bool operator==(const typGreeting&) const = default;
};

// Mirrors of the image box's print properties of the same suffix (PrintSettings in
// platform/print gives their meanings); judged on load by SetupRanges.
struct typPrint {
    int32_t P87 = -1;
    int32_t P11B = 0;
    uint8_t P88 = 0;
    double P85 = 0;
    double P86 = 0;
    int32_t P8A = 1;
    double P8B = 100;
    uint8_t P84 = 0;
    bool P8C = false;
    bool P8D = false;

    bool operator==(const typPrint&) const = default;
};

struct typSetup {
    typSaveOptions SaveOptions;
    typBatchSave BatchSave;
    uint8_t AllowTip = 1; // tool tips on the main window
    typWindow MainWindow;
    typSplitters Splitters;
    QString LastFolder;
    typPreview Preview;
    typFolderList FolderList;
    typBasketList BasketList;
    typMetadataLists MetadataLists;
    typTwain Twain;
    typTaskDefaults TaskDefaults;
    typScreensaver Screensaver;
    typSlideShow SlideShow;
    typCapture Capture;
    typGreeting Greeting;
    typPrint Print;

    bool operator==(const typSetup&) const = default;
};

} // namespace picbasket
