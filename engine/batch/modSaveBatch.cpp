#include "engine/batch/modSaveBatch.h"

#include "core/AppError.h"
#include "core/Convert.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/modFileSystem.h"
#include "core/setup/modSetup.h"
#include "engine/batch/modNamingRules.h"
#include "engine/jpeg2000/modJPEG2000.h"
#include "engine/loading/modBitmapPro.h"
#include "engine/tasks/modTaskEngine.h"
#include "platform/imagebox/ImageBox.h"

#include <QCoreApplication>
#include <QStringList>
#include <limits>

namespace picbasket {

namespace {

// Extensions the image box reads itself; every other file goes through LoadPic.
bool boxReadsExtension(const QString& extension) {
    static const QStringList own = {"tiff", "tif", "jpeg", "jpg", "psd",
                                    "bmp",  "pcx", "gif",  "png"};
    return own.contains(extension);
}

bool loadThroughLoadPic(ImageBox& box, const QString& path) {
    int32_t width = 0;
    int32_t height = 0;
    const QImage picture =
        LoadPic(path, sizemode::Original, -1, -1, OleColor(0xFFFFFF), width, height);
    if (picture.isNull())
        return false;
    box.setBitmapHandle(picture);
    return true;
}

// Loads the page file into the emptied box; false when no loader can read it.
// The box's unexpected failure sends the file on to LoadPic; any other error ends
// the run.
bool loadRow(ImageBox& box, const QString& path) {
    box.Clear();
    box.DeleteAllExif();
    box.DeleteAllIptc();
    if (boxReadsExtension(fncGetFileExtension(path).toLower())) {
        try {
            box.setPageIndex(1);
            box.LoadFromFile(path);
            return true;
        } catch (const AppError& error) {
            if (error.number() != err::Unexpected)
                throw;
        }
    }
    return loadThroughLoadPic(box, path);
}

QString hybridName(ImageBox& box, const BasketRow& row, const QString& extension) {
    const typBatchSave& options = Setup.BatchSave;
    const QString prefix = fncRetrieveNamingString(box, options.Prefix, row.Tag, extension);
    const QString suffix = fncRetrieveNamingString(box, options.Suffix, row.Tag, extension);
    return prefix + fncGetSeparator(options.Separator1) + fncCleanNamePart(row.Text) +
           fncGetSeparator(options.Separator2) + suffix;
}

// The output file name of the row'th row (from 1) without folder and extension.
QString baseName(ImageBox& box, const BasketRow& row, int rowNumber, const QString& extension) {
    const typBatchSave& options = Setup.BatchSave;
    switch (options.NameMode) {
    case 1:
        return hybridName(box, row, extension);
    case 2:
        return fncCleanNamePart(options.GenericName) +
               QString::number(fncBatchCounter(options.Counter, rowNumber));
    default:
        return fncCleanNamePart(row.Text);
    }
}

// Converts one row; a row that cannot be loaded or whose target exists without
// overwriting is passed over.
void convertRow(const BasketRow& row, int rowNumber, const TaskRowList& tasks, ImageBox& box,
                AxImage& control, const QString& extension) {
    const typBatchSave& options = Setup.BatchSave;
    const QString folder = fncBatchOutputFolder(row);
    if (!loadRow(box, row.Tag))
        return;
    box.setTag(QString::number(box.ImageWidth()) + "x" + QString::number(box.ImageHeight()));
    if (options.ProcessTasks == 1)
        subProcessPages(nullptr, tasks, box, nullptr, true);
    const QString target = folder + baseName(box, row, rowNumber, extension) + "." + extension;
    if (fncFileExists(target) && options.Overwrite != 1)
        return;
    const int16_t rate = options.Lossy != 0 ? options.Rate : int16_t(25);
    subSaveJPEG2000(control, box.Picture(), target, rate);
}

bool g_running = false;

// Clears the running mark and hides the bar however the run ends.
struct RunScope {
    ProgressIndicator& bar;
    ~RunScope() {
        g_running = false;
        bar.setVisible(false);
    }
};

} // namespace

QString fncBatchOutputFolder(const BasketRow& row) {
    const typBatchSave& options = Setup.BatchSave;
    QString folder;
    if (options.DestinationMode != 0) {
        folder = options.DestinationFolder.trimmed();
        if (folder.isEmpty())
            raiseError(err::InvalidProcedureCall, QStringLiteral("No destination folder is set"));
    } else {
        const QString source = row.SubItem(4).trimmed();
        folder = fncGetFolderFromPath(source.isEmpty() ? row.Tag : source);
    }
    return subAddBackslash(folder);
}

int32_t fncBatchCounter(const QString& counter, int row) {
    int64_t first = 1;
    if (counter == QLatin1String("[Starting 1001]"))
        first = 1001;
    else if (counter != QLatin1String("[Starting 1]"))
        first = cLng(counter);
    const int64_t n = first + row - 1;
    if (n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
        raiseError(err::Overflow, QStringLiteral("The file counter passes %1").arg(INT32_MAX));
    return int32_t(n);
}

bool fncSaveSinglePage(const BasketRows& lvPages, const TaskRowList& lvEditBatch, ImageBox& box,
                       ProgressIndicator& bar, AxImage& control) {
    if (g_running) {
        subGlobalErrorHandler(QStringLiteral("A batch conversion is already running"),
                              err::InvalidProcedureCall, 0, QStringLiteral("fncSaveSinglePage"));
        return false;
    }
    if (lvPages.count() == 0)
        return true;
    bool result = false;
    errorTail(QStringLiteral("fncSaveSinglePage"), [&] {
        g_running = true;
        RunScope scope{bar};
        CurrentActivity = QStringLiteral("Converting the image basket to JPEG 2000!");
        bar.setMaximum(lvPages.count());
        bar.setValue(0);
        bar.setVisible(true);
        const QString extension = Setup.BatchSave.Codestream != 0 ? "jpc" : "jp2";
        // The row count is read again each time round: events run between rows.
        for (int i = 0; i < lvPages.count(); ++i) {
            QCoreApplication::processEvents();
            if (CancelOperation) {
                CancelOperation = false;
                break;
            }
            const BasketRow row = lvPages.row(i);
            convertRow(row, i + 1, lvEditBatch, box, control, extension);
            bar.setValue(i + 1);
        }
        result = true;
    });
    return result;
}

bool fncConvertBasket(const BasketRows& lvPages, const TaskRowList& lvEditBatch, ImageBox& box,
                      WaitIndicator& wait, AxImage& control) {
    wait.showWaiting();
    const bool result = fncSaveSinglePage(lvPages, lvEditBatch, box, wait.progress(), control);
    wait.closeWaiting();
    return result;
}

} // namespace picbasket
