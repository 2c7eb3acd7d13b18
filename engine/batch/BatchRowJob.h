#pragma once
#include "engine/batch/BasketRows.h"
#include "engine/tasks/TaskRowList.h"

#include <QDateTime>
#include <QImage>
#include <QSemaphore>
#include <QString>
#include <exception>

namespace picbasket {

// What the window thread fixes when it starts a row of the batch conversion, so
// that a job on a worker thread reads nothing that may change during the run.
struct BatchRowOrder {
    BasketRow row;
    int rowNumber = 0;          // from 1
    QString folder;             // the output folder, ending in "/"
    QString extension;          // "jp2" or "jpc"
    QString genericName;        // the whole name with generic naming, else empty
    QDateTime clock;            // what the date tokens read
    bool loadedAlready = false; // a picture of the loading entry is handed in
    QImage picture;
    QString unreadable; // why the window thread could not load the file
};

// What a row's job gives back for its commit on the window thread.
struct BatchRowResult {
    QString unreadable;         // not empty: the file could not be read
    QString baseName;           // the output name without folder and extension
    QString temporary;          // the encoded file, still under a temporary name
    QImage picture;             // kept when the job did not encode (target existed)
    QByteArray iccProfile;      // the source's colour profile, for a JP2 file
    double xDpi = 0, yDpi = 0;  // the source's resolution, 0 when it gives none
    std::exception_ptr failure; // a failure that ends the run
};

// One row of the batch conversion up to its commit: loads the page file into a
// box of its own (unless the window thread loaded it), runs the task rows, names
// it and encodes it under a temporary name beside the target. A target that
// already exists while overwriting is off is not encoded; the commit decides.
// Never throws: a failure travels in the result. Runs on any thread. With an
// encode gate, the encode waits for one of the gate's places, so that no more
// rows than it has places hold an encoder's working memory at once.
BatchRowResult runBatchRow(const BatchRowOrder& order, const TaskRowList& tasks,
                           QSemaphore* encodeGate = nullptr);

} // namespace picbasket
