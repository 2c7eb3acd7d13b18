#pragma once
#include <QString>

namespace picbasket {

class BasketAdder;
class ImageList;
class ListView;
class ProgressBar;

// The image basket files. ".ibf" lists the image basket's source files, one quoted
// path a line; ".ibd" is a second image-basket form that is only read (a path and a
// data text a line). Every line is a record of the quoted-record form
// (core/QuotedRecords.h). The task basket's ".tbf" files are editing/modTaskBasketFile.
//
// Each function ends in the error tail: a failure is reported with the function's
// source and the function returns false. An open reads and checks the whole file
// before it changes any list, so a failed open keeps what was there; a save
// replaces the file only when every record was written.

// Saves the distinct source paths of the basket rows (sub-item 4), in the order of
// their first row: a multipage file once, by its own path. Appends ".ibf" to path
// unless it ends so in any case; the caller sees the completed path. An empty
// basket writes nothing and gives false.
bool fncSaveImageBasket(QString& path, const ListView& lvPages);

// Replaces the basket with the files an ".ibf" or ".ibd" file lists. A listed file
// that no longer exists is skipped without a message; a multipage file is split
// into new page files by the adder's own image box. Another ending, an unreadable
// file or a malformed record fails and keeps the basket. The adder adds the rows
// (its addRow hook); pbQueue shows the progress, one step per listed file.
bool fncOpenImageBasket(const QString& path, ListView& lvPages, ImageList& ilPages,
                        BasketAdder& adder, ProgressBar& pbQueue);

// Adds one file as adding from the folder list does ("a", pages "scan1", "scan2"),
// without the duplicate test; a failure is reported here and adds nothing more.
void subAddEntryToListView(const QString& path, BasketAdder& adder);

} // namespace picbasket
