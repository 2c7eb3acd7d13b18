#pragma once
#include "engine/batch/BasketRows.h"
#include "engine/tasks/TaskRowList.h"

#include <QDateTime>
#include <QImage>
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

// Why a file cannot be written under this path, or an empty text: a name longer
// than the 255 bytes a file system's directory entry holds, or a path longer
// than the system takes.
QString fncOutputNameProblem(const QString& path);

// What a row's job gives back for its commit on the window thread.
struct BatchRowResult {
    QString unreadable;         // not empty: the file could not be read
    QString refused;            // not empty: why no file can take the output's name
    QString baseName;           // the output name without folder and extension
    QString temporary;          // the encoded file, still under a temporary name
    QImage picture;             // kept when the job did not encode (target existed)
    QByteArray iccProfile;      // the source's colour profile, for a JP2 file
    double xDpi = 0, yDpi = 0;  // the source's resolution, 0 when it gives none
    std::exception_ptr failure; // a failure that ends the run
    QString failedTemporary;    // the temporary name the failure's words may use
};

// One row of the batch conversion up to its commit: loads the page file into a
// box of its own (unless the window thread loaded it), runs the task rows, names
// it and encodes it under a temporary name beside the target. A target that
// already exists while overwriting is off is not encoded; the commit decides. A
// target no file can be named (fncOutputNameProblem) is refused before encoding.
// Never throws: a failure travels in the result. Runs on any thread. The order is
// the job's own: a picture handed in is let go once the encoder has read it.
BatchRowResult runBatchRow(BatchRowOrder order, const TaskRowList& tasks);

} // namespace picbasket
