#include "browser/modSaveOpenImageList.h"

#include "browser/BasketAdder.h"
#include "browser/modBasketList.h"
#include "browser/NotAddedReport.h"
#include "browser/clsFile.h"
#include "core/AppError.h"
#include "core/AppPaths.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/fileinfo/clsFileInfo.h"
#include "engine/loading/LoadFailure.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"

#include <QFileInfo>
#include <QSet>

namespace picbasket {

namespace {

// Appends the ending unless the path ends so already, in any case.
void completePath(QString& path, const QString& ending) {
    if (path.right(4).toLower() != ending)
        path += ending;
}

QString endingOf(const QString& path) {
    return path.right(4).toLower();
}

void openForRead(clsFile& file, const QString& path) {
    if (!file.OpenForRead(path))
        raiseError(file.ErrorNumber(), file.ErrorText());
}

// Every path the file lists, read and checked before the basket is touched.
QStringList basketPaths(const QString& path) {
    const QString ending = endingOf(path);
    if (ending != QLatin1String(".ibf") && ending != QLatin1String(".ibd"))
        raiseError(err::BadFileMode,
                   QStringLiteral("'%1' is no image basket file (.ibf or .ibd).").arg(path));
    clsFile file;
    openForRead(file, path);
    QStringList paths;
    while (!file.fEof()) {
        if (ending == QLatin1String(".ibf")) {
            paths << file.readLine().trimmed();
        } else {
            QString listed, data;
            file.read_ImageBasket(listed, data);
            paths << listed;
        }
    }
    file.closefile();
    return paths;
}

BasketSource sourceOf(const QString& path, int pages) {
    clsFileInfo& info = FileInfo();
    info.setFilePath(path);
    BasketSource source;
    source.position = 1;
    source.row.text = QFileInfo(path).fileName();
    source.row.tag = path;
    source.row.subItems[1] = info.fSizeFormated(0);
    source.row.subItems[2] = QString::number(pages);
    source.row.subItems[3] = info.fType();
    return source;
}

} // namespace

bool fncSaveImageBasket(QString& path, const ListView& lvPages) {
    bool saved = false;
    errorTail(QStringLiteral("modSaveOpenImageList.fncSaveImageBasket"), [&] {
        if (lvPages.Count() == 0)
            return;
        QStringList unique;
        QSet<QString> seen;
        for (int r = 1; r <= lvPages.Count(); ++r) {
            const QString source = lvPages.SubItem(r, 4);
            if (!seen.contains(source)) {
                seen.insert(source);
                unique << source;
            }
        }
        completePath(path, QStringLiteral(".ibf"));
        clsFile file;
        if (!file.OpenForWrite(path))
            raiseError(file.ErrorNumber(), file.ErrorText());
        for (const QString& source : unique)
            file.writeline(source);
        file.closefile();
        saved = true;
    });
    return saved;
}

bool fncOpenImageBasket(const QString& path, ListView& lvPages, ImageList& ilPages,
                        BasketAdder& adder, ProgressBar& pbQueue) {
    bool opened = false;
    errorTail(QStringLiteral("modSaveOpenImageList.fncOpenImageBasket"), [&] {
        struct BarScope {
            ProgressBar& bar;
            ~BarScope() { bar.hide(); }
        } scope{pbQueue};
        if (adder.isRunning())
            raiseError(err::Unexpected, QStringLiteral("Files are being added to the basket."));
        const QStringList paths = basketPaths(path);
        lvPages.setSmallIcons(nullptr);
        lvPages.Clear();
        ilPages.Clear();
        adder.thumbnailWidth = BasketThumbnailWidth;
        adder.thumbnailHeight = BasketThumbnailHeight;
        adder.pageFiles.setFolder(AppPaths::tempPageFolder());
        if (!paths.isEmpty()) {
            pbQueue.setMax(int(paths.size()));
            pbQueue.setValue(1);
            pbQueue.show();
        }
        NotAddedReport notAdded(adder);
        for (int i = 0; i < paths.size(); ++i) {
            if (clsFileInfo::CheckIfFileExists(paths[i]))
                subAddEntryToListView(paths[i], adder);
            else
                notAdded.add(paths[i], fncLoadFailureReason(paths[i]));
            pbQueue.setValue(i + 1);
        }
        opened = true;
        pbQueue.hide();
        notAdded.show();
    });
    return opened;
}

void subAddEntryToListView(const QString& path, BasketAdder& adder) {
    errorTail(QStringLiteral("subAddEntryToListView"), [&] {
        CurrentActivity = QStringLiteral("Opening image list from file!");
        const QString extension = QFileInfo(path).suffix().toLower();
        const bool tiff = extension == QLatin1String("tif") || extension == QLatin1String("tiff");
        const int pages = tiff ? adder.pageCountOf(path) : 1;
        adder.add({sourceOf(path, pages)}, 1, BasketAdder::Mode::BasketFile);
    });
}

} // namespace picbasket
