#pragma once
#include "controls/dialogs/DialogBackend.h"

#include <QString>
#include <cstdint>

namespace picbasket {

// The frames of the save options panel, as bits of one set.
namespace saveframe {
inline constexpr unsigned None = 0;
inline constexpr unsigned GIF = 1u << 0;
inline constexpr unsigned PNG = 1u << 1;
inline constexpr unsigned JPG = 1u << 2;
inline constexpr unsigned JPG2000 = 1u << 3;
inline constexpr unsigned PNM = 1u << 4;
inline constexpr unsigned Tiff = 1u << 5;
inline constexpr unsigned TiffOnly = 1u << 6;
} // namespace saveframe

// What the controller asks of the options panel.
class SaveOptionsFrames {
public:
    virtual ~SaveOptionsFrames() = default;
    // Hides every frame.
    virtual void subSetVisibility() = 0;
    // Shows the frames of the set (saveframe bits).
    virtual void showFrames(unsigned frames) = 0;
};

// The rules of the save dialog that carries the options panel, apart from any
// dialog: the filter as the dialog was given it ("|" turned into NULs), the frames
// and the default suffix of each file type, the name kept without its old ending
// when the type changes, and the extension rule applied to the confirmed name.
// As the dialog's hook it also asks once before a file is replaced, for the name
// the dialog finally returns.
//
// The default suffix stays empty until the user first changes the type, so a bare
// name falls to the extension rule and comes back as a ".tif" file.
class SaveDialogController : public FileDialogHook {
public:
    SaveDialogController(const QString& filter, bool openMode, bool multiPage,
                         SaveOptionsFrames* panel);

    // The text before the first NUL; the whole text when there is none.
    static QString fncTrimAtNull(const QString& text);
    // Frames shown for a type's first pattern ("*.jpg"); case does not matter.
    static unsigned framesForPattern(const QString& pattern);
    // The typed name without an ending of up to four letters: a name longer than
    // four characters with a "." among its last five is cut before that ".".
    static QString fncCutName(const QString& name);
    // The pattern without its "*." ("*.jpg" gives "jpg"); "" for "*." or shorter.
    static QString fncDefaultSuffix(const QString& pattern);
    // The confirmed path with ".tif" added when its extension is none of the kept
    // ones (or, for multi-page saves, neither TIFF nor PDF).
    static QString fncApplyExtensionRule(const QString& path, bool multiPage);

    const QString& filterCopy() const { return filterCopy_; }
    // 1-based filter entry whose first pattern is "*." and the name's extension;
    // 0 when no entry starts with it.
    int32_t fncFilterIndexFromName(const QString& name) const;
    // First pattern of the 0-based entry ("*.jpg" for "*.jpg;*.jpeg;*.jpe").
    QString fncGetSelectedPattern(int selectedIndex) const;
    QString selectedPattern() const { return selectedPattern_; }
    // True when the path may be written: it is no file, or the user agreed to
    // replace it (asked only by a save dialog).
    bool fncMayReplace(const QString& path) const;
    // The path after the extension rule, once a confirmation passed.
    QString confirmedPath() const { return confirmedPath_; }

    void typeChanged(FileDialogControls& dialog, int filter) override;
    void folderChanged(FileDialogControls& dialog) override;
    void selectionChanged(FileDialogControls& dialog, const QString& path) override;
    bool confirm(FileDialogControls& dialog, const QString& path) override;

private:
    QString filterCopy_;
    bool openMode_;
    bool multiPage_;
    SaveOptionsFrames* panel_;
    QString selectedPattern_;
    QString confirmedPath_;
};

} // namespace picbasket
