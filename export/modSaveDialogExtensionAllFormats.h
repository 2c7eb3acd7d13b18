#pragma once
#include <QString>
#include <cstdint>

class QWidget;

namespace picbasket {

class frmSaveDialogExtensionAllFormats;

// The open or save dialog with the options panel below its own controls. The
// filter holds description and pattern-list pairs separated by "|"; filterIndex is
// 1-based, and 0 asks for the entry that the name's extension starts (written back;
// the first entry when none does). With multiPage the panel's append modes show and
// only TIFF and PDF names are kept as typed. Returns the chosen path after the
// extension rule (SaveDialogController), or "" when the user cancelled. A save
// dialog asks once before an existing file is replaced, for the returned name.
QString fncShowFileDialogEx(const QString& name, const QString& filter, int32_t& filterIndex,
                            const QString& title, bool openMode,
                            frmSaveDialogExtensionAllFormats* panel, bool multiPage,
                            QWidget* owner = nullptr, const QString& initialFolder = {});

} // namespace picbasket
