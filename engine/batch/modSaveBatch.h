#pragma once
#include "engine/batch/BasketRows.h"
#include "engine/batch/ProgressIndicator.h"
#include "engine/tasks/TaskRowList.h"
#include "platform/jp2/AxImage.h"

#include <QString>
#include <cstdint>

namespace picbasket {

class ImageBox;

// The batch JPEG 2000 conversion of the image basket. Every row of lvPages becomes
// one ".jp2" (or ".jpc") file, named by the naming options of Setup.BatchSave,
// with the task rows applied first when ProcessTasks is 1. Existing targets are
// skipped unless Overwrite is 1. Events run once per row, when the wait dialog's
// Cancel can set CancelOperation; the run then stops before the next row and
// clears the flag. bar shows the rows done.
//
// A row whose file cannot be read is passed over; one message at the end of the
// run lists such rows. A file in a format the image box reads and that the box
// refuses is damaged and gives no output. A row whose output name an earlier row
// of the same run wrote gets "_2", "_3", ... before the extension.
//
// Rows overlap: up to setBatchRowsInFlight() rows are decoded, run through the
// tasks and encoded at once on worker threads, each in a box of its own, while
// this thread starts them and commits them in list order, so the files and names
// are those of converting one row after the other. Each file is encoded to a
// temporary name and renamed over the target when its row is committed, so a
// stopped run never leaves half a file under the final name; a failed write ends
// the run with an error and no later row is committed. Cancel drops the rows in
// flight. Returns True when the run ends normally or is cancelled, False after an
// error (reported with the source "fncSaveSinglePage").
bool fncSaveSinglePage(const BasketRows& lvPages, const TaskRowList& lvEditBatch, ImageBox& box,
                       ProgressIndicator& bar, AxImage& control = AxImage::instance());

// How many rows a run keeps in flight: 1 converts one row after the other on the
// calling thread, 0 (the default) chooses max(2, cores / 2). Returns the previous.
int setBatchRowsInFlight(int rows);

// Shows the wait dialog, runs fncSaveSinglePage on its progress bar and closes it.
bool fncConvertBasket(const BasketRows& lvPages, const TaskRowList& lvEditBatch, ImageBox& box,
                      WaitIndicator& wait, AxImage& control = AxImage::instance());

// The folder a row's output goes to (ending in "/"): the destination folder, or
// with DestinationMode 0 the folder of the row's source file (sub-item 4), so
// that a page split from a multipage file lands beside that file and not in the
// temporary page folder; the page file's own folder when the row names no source.
QString fncBatchOutputFolder(const BasketRow& row);

// The counter of generic naming for the row'th row (from 1): "[Starting 1]" gives
// row, "[Starting 1001]" row + 1000, a number n gives n + row - 1. A text that is
// no number raises error 13, a result beyond 32 bits error 6.
int32_t fncBatchCounter(const QString& counter, int row);

} // namespace picbasket
