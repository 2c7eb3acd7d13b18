#pragma once
#include <QString>
#include <QStringList>
#include <cstdint>

class QWidget;

namespace picbasket {

// The one record of the Open and Save As dialogs. A caller sets DialogTitle, Filter,
// FileName = "" and Flags, calls fncShowOpen or fncShowSave and reads FileName. The
// record changes only when the user confirms, so the emptied name means cancel.
struct typCommonDialog {
    QWidget* hWndOwner = nullptr;
    // Description and pattern pairs separated by "|"; patterns are separated by ";".
    QString Filter;
    QString FileTitle; // out: the chosen file's name without its folder
    // 1-based filter selected first; out: the filter the user left selected, which
    // so carries into the next dialog (clamped to that dialog's list).
    int32_t FilterIndex = 0;
    QString FileName; // out: the chosen file's full path, whole however long
    QString InitDir;
    QString DialogTitle;
    int32_t Flags = 0;
};

inline typCommonDialog CommonDialog;

void fncShowOpen();
void fncShowSave();

// The "|"-separated filter as Qt's filter entries, "Description (*.a *.b)". Pairs
// are read until the text ends or an element is empty; a description without a
// pattern ends the list.
QStringList fncFilterToNameFilters(const QString& filter);

} // namespace picbasket
