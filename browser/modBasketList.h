#pragma once
#include <QString>
#include <cstdint>
#include <memory>

namespace picbasket {

// The thumbnail box of the image basket in pixels, copied from the setup record at
// start and by the settings dialog, written back at exit.
inline int32_t BasketThumbnailWidth = 40;
inline int32_t BasketThumbnailHeight = 40;
// The folder the basket list files were last opened from or saved to.
inline QString BasketFolder;

class BasketRows;
class ListView;

// The row procedures the main window's lists share: the basket's copy for a batch,
// moving and removing the selected rows, and the column sort.

// A copy of the basket list's rows in list order (text, tag, sub-items 1 to 4), taken
// by a batch when it starts.
std::unique_ptr<BasketRows> fncBasketRowsOf(const ListView& lvPages);

// Moves the selected rows to the row under x, y (the list's pixels): after it when it
// stands at or below the current row, else before it. Nothing happens without a row
// under the point or without a current row. Clears the drop highlight; ends the
// sorted state.
void subMoveSelectedItems(ListView& list, int x, int y);

// Removes the selected rows; their pictures and page files stay.
void subRemoveSelectedItems(ListView& list);

// Sorts by the clicked column: the sort column clicked again toggles ascending and
// descending, another column starts ascending; the list stays sorted.
void subSortListViewByColumn(ListView& list, int column);

} // namespace picbasket
