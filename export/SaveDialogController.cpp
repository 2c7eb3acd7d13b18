#include "export/SaveDialogController.h"

#include "core/MessageBox.h"

#include <QFileInfo>
#include <QStringList>

namespace picbasket {

namespace {

constexpr QChar Nul(u'\0');
constexpr qsizetype FilterLength = 260;

// "|" becomes NUL; a short filter is padded with NULs to 260 characters, a long
// one ends in two NULs.
QString makeFilterCopy(const QString& filter) {
    QString copy = filter;
    copy.replace(QLatin1Char('|'), Nul);
    if (copy.size() < FilterLength) {
        copy += QString(FilterLength - copy.size(), Nul);
    } else {
        copy += QString(2, Nul);
    }
    return copy;
}

// Text after the last "."; the whole text when there is none.
QString extensionOf(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? name : name.mid(dot + 1);
}

const QStringList& keptExtensions() {
    static const QStringList kept{"bmp", "gif", "jpg", "jpe", "jpeg", "jp2", "jpc", "tif",
                                  "tiff", "png", "psd", "pcx", "pdf", "tga", "sgi", "xpm",
                                  "pbm", "pgm", "ppm", "wbm", "wbmp", "wap"};
    return kept;
}

} // namespace

SaveDialogController::SaveDialogController(const QString& filter, bool openMode, bool multiPage,
                                           SaveOptionsFrames* panel)
    : filterCopy_(makeFilterCopy(filter)), openMode_(openMode), multiPage_(multiPage),
      panel_(panel) {}

QString SaveDialogController::fncTrimAtNull(const QString& text) {
    const qsizetype nul = text.indexOf(Nul);
    return nul < 0 ? text : text.left(nul);
}

unsigned SaveDialogController::framesForPattern(const QString& pattern) {
    const QString p = pattern.toLower();
    if (p == "*.gif")
        return saveframe::GIF;
    if (p == "*.png")
        return saveframe::PNG;
    if (p == "*.jpg" || p == "*.jpeg" || p == "*.jpe")
        return saveframe::JPG;
    if (p == "*.tif" || p == "*.tiff")
        return saveframe::Tiff | saveframe::TiffOnly;
    // PDF has no options of its own: of the TIFF frame only the append modes show,
    // and those only for multi-page saves.
    if (p == "*.pdf")
        return saveframe::Tiff;
    if (p == "*.jp2" || p == "*.jpc")
        return saveframe::JPG2000;
    if (p == "*.pbm" || p == "*.pgm" || p == "*.ppm")
        return saveframe::PNM;
    return saveframe::None;
}

QString SaveDialogController::fncCutName(const QString& name) {
    if (name.size() <= 4)
        return name;
    const qsizetype dot = name.indexOf(QLatin1Char('.'), name.size() - 5);
    return dot < 0 ? name : name.left(dot);
}

QString SaveDialogController::fncDefaultSuffix(const QString& pattern) {
    return pattern.size() > 2 ? pattern.mid(2) : QString();
}

QString SaveDialogController::fncApplyExtensionRule(const QString& path, bool multiPage) {
    const QString extension = extensionOf(path).toLower();
    if (!keptExtensions().contains(extension))
        return path + ".tif";
    if (multiPage && extension != "tif" && extension != "tiff" && extension != "pdf")
        return path + ".tif";
    return path;
}

int32_t SaveDialogController::fncFilterIndexFromName(const QString& name) const {
    const QString pattern = "*." + extensionOf(name);
    int32_t nulsPassed = 0;
    for (qsizetype at = filterCopy_.indexOf(Nul); at >= 0; at = filterCopy_.indexOf(Nul, at + 1)) {
        ++nulsPassed;
        if (QStringView(filterCopy_).mid(at + 1, pattern.size()).compare(pattern,
                                                                      Qt::CaseInsensitive) == 0)
            return nulsPassed / 2 + 1;
    }
    return 0;
}

QString SaveDialogController::fncGetSelectedPattern(int selectedIndex) const {
    if (selectedIndex < 0)
        return {};
    qsizetype start = 0;
    for (int skip = 0; skip < 2 * selectedIndex + 1; ++skip) {
        const qsizetype nul = filterCopy_.indexOf(Nul, start);
        if (nul < 0)
            return {};
        start = nul + 1;
    }
    const QString piece = fncTrimAtNull(filterCopy_.mid(start));
    return piece.section(QLatin1Char(';'), 0, 0);
}

void SaveDialogController::typeChanged(FileDialogControls& dialog, int filter) {
    const QString name = fncCutName(fncTrimAtNull(dialog.fileNameText()));
    selectedPattern_ = fncGetSelectedPattern(filter);
    if (panel_) {
        panel_->subSetVisibility();
        panel_->showFrames(framesForPattern(selectedPattern_));
    }
    if (selectedPattern_.size() > 2)
        dialog.setDefaultSuffix(fncDefaultSuffix(selectedPattern_));
    dialog.setFileNameText(name);
}

void SaveDialogController::folderChanged(FileDialogControls& dialog) {
    dialog.setFileNameText(QString());
}

void SaveDialogController::selectionChanged(FileDialogControls& dialog, const QString& path) {
    const QFileInfo file(path);
    if (!path.isEmpty() && file.isFile())
        dialog.setFileNameText(file.fileName());
}

bool SaveDialogController::fncMayReplace(const QString& path) const {
    if (openMode_ || !QFileInfo(path).isFile())
        return true;
    const QString question = joinLines(
        {QFileInfo(path).fileName() + " already exists.", "Do you want to replace it?"});
    return msgBox(question, mb::YesNo | mb::Exclamation | mb::DefaultButton2) == mb::Yes;
}

bool SaveDialogController::confirm(FileDialogControls&, const QString& path) {
    const QString final = fncApplyExtensionRule(path, multiPage_);
    if (!fncMayReplace(final))
        return false;
    confirmedPath_ = final;
    return true;
}

} // namespace picbasket
