#pragma once
#include "controls/dialogs/DialogBackend.h"

#include <QPoint>
#include <QRect>
#include <QSize>

namespace picbasket {

// The real dialogs: QFileDialog (Qt's own, not the desktop's, so that option
// panels can be embedded in it) and QColorDialog. Overwriting is never asked by
// the dialog: the callers ask themselves.
class QtDialogBackend : public DialogBackend {
public:
    FileDialogAnswer showFileDialog(const FileDialogRequest& request) override;
    ColorDialogAnswer showColorDialog(const ColorDialogRequest& request) override;
    QString showFolderDialog(const FolderDialogRequest& request) override;
};

// Top-left corner that centres a dialog of the given size over an area
// (halves rounded to even).
QPoint fncCentredPosition(const QRect& area, const QSize& dialog);

} // namespace picbasket
