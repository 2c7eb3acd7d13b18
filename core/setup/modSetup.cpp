#include "core/setup/modSetup.h"
#include "core/AppError.h"
#include "core/AppPaths.h"
#include "core/Convert.h"
#include "core/ErrorHandler.h"
#include "core/MessageBox.h"
#include "core/ScreenTwips.h"
#include "core/modFileSystem.h"
#include "core/setup/SetupCodec.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>

namespace picbasket {

namespace {

// folder + "/" + name, without doubling a separator the folder already ends in.
QString inFolder(const QString& folder, const QString& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QString captureFolder() {
    return inFolder(AppPaths::dataRoot(), QStringLiteral("Captured"));
}
QString acquireFolder() {
    return inFolder(AppPaths::dataRoot(), QStringLiteral("Acquired/"));
}

// The setup file must never be the program itself, another program or a folder:
// the path is refused when it names the running executable, a directory or a file
// that may be executed.
bool isSafeSetupPath(const QString& path) {
    if (path.trimmed().isEmpty())
        return false;
    const QFileInfo info(path);
    if (!info.exists())
        return true;
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath();
    if (!program.isEmpty() && info.canonicalFilePath() == program)
        return false;
    return info.isFile() && !info.isExecutable();
}

void refuseUnsafeSetupPath(const QString& path) {
    if (!isSafeSetupPath(path))
        raiseError(err::PermissionDenied,
                   QStringLiteral("The setup file \"%1\" is a program or a folder; it is left "
                                  "untouched")
                       .arg(path));
}

// The file's bytes, at most as many as the longest record takes (anything stored
// beyond the record is never read).
QByteArray readSetupBytes(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        raiseError(err::PermissionDenied, file.errorString());
    const QByteArray bytes = file.read(setupLayoutSize().maximumRecordSize());
    if (file.error() != QFileDevice::NoError)
        raiseError(err::DeviceIO, file.errorString());
    return bytes;
}

void reportCorruptedSetup() {
    msgBox(joinLines({QStringLiteral("Configuration data file is corrupted"),
                      QStringLiteral("Setting values will be initilized to default")}),
           mb::Exclamation);
}

// Reads the existing file into Setup; a damaged file is reported, removed and replaced
// by the defaults.
void loadExistingSetup() {
    typSetup read;
    if (decodeSetup(readSetupBytes(SetupFile), read)) {
        subBringSetupIntoRange(read);
        Setup = std::move(read);
        return;
    }
    reportCorruptedSetup();
    QFile::remove(SetupFile);
    subApplySetupDefaults();
}

template <class T> void clampTo(T& value, int low, int high) {
    value = T(std::clamp(int(value), low, high));
}

template <class Array> void notNegative(Array& widths) {
    for (auto& width : widths)
        width = std::max<int16_t>(width, 0);
}

void bringSaveOptionsIntoRange(typSaveOptions& o) {
    clampTo(o.Formats.JPG.ColorDepth, 0, 1);
    clampTo(o.Formats.JPG.Quality, 1, 100);
    clampTo(o.Formats.JPG.Encoding, 0, 1);
    clampTo(o.Formats.JPEG2000.Lossy, 0, 1);
    clampTo(o.Formats.JPEG2000.Rate, 1, 25);
    clampTo(o.Formats.GIF.Compression, 0, 1);
    clampTo(o.Formats.PNG.ColorDepth, 0, 1);
    clampTo(o.Formats.PNM.Format, 0, 1);
    clampTo(o.Formats.TIFF.Compression, 0, 6);
    clampTo(o.AppendMode, 0, 1);
    clampTo(o.OutputMode, 0, 1);
}

void bringBatchSaveIntoRange(typBatchSave& b) {
    clampTo(b.Lossy, 0, 1);
    clampTo(b.Rate, 1, 25);
    clampTo(b.Codestream, 0, 1);
    clampTo(b.NameMode, 0, 2);
    clampTo(b.DestinationMode, 0, 1);
}

void bringListsIntoRange(typSetup& s) {
    notNegative(s.FolderList.ColumnWidth);
    notNegative(s.BasketList.ColumnWidth);
    notNegative(s.MetadataLists.ExifColumnWidth);
    notNegative(s.MetadataLists.IptcColumnWidth);
    clampTo(s.FolderList.ThumbnailWidth, 20, 300);
    clampTo(s.FolderList.ThumbnailHeight, 20, 300);
    clampTo(s.BasketList.ThumbnailWidth, 20, 300);
    clampTo(s.BasketList.ThumbnailHeight, 20, 300);
    clampTo(s.FolderList.FileSizeFormat, 0, 1);
}

void bringTaskDefaultsIntoRange(typTaskDefaults& t) {
    clampTo(t.ResizeMode, 0, 1);
    clampTo(t.CropMode, 0, 1);
    clampTo(t.CropPreset, 0, 1);
    clampTo(t.Text.Filter, 0, 5);
    clampTo(t.Text.Position, 0, 9);
    clampTo(t.Text.FontFamily, 0, INT16_MAX);
    clampTo(t.Text.Alignment, 0, 2);
    clampTo(t.Text.Orientation, 0, 1);
    clampTo(t.FlipMode, 0, 1);
    clampTo(t.Watermark.MergeStyle, 0, 3);
    clampTo(t.Frame.Kind, 0, 1);
    clampTo(t.Frame.Style, 0, 7);
    clampTo(t.Mask.Style, 0, 7);
    clampTo(t.ShadowStyle, 0, 7);
}

void bringDevicesIntoRange(typSetup& s) {
    clampTo(s.Twain.Destination, 0, 1);
    clampTo(s.Twain.FileMode, 0, 1);
    clampTo(s.Twain.SinglePageFormat, 0, 5);
    clampTo(s.Twain.MultiPageFormat, 0, 1);
    clampTo(s.Capture.Mode, 0, 2);
    clampTo(s.Screensaver.Quality, 1, 100);
    clampTo(s.SlideShow.Quality, 1, 100);
    clampTo(s.Greeting.Quality, 1, 100);
}

} // namespace

typSetup fncSetupDefaults() {
    typSetup s;
    const QString program = AppPaths::programFolder();
    s.BatchSave.DestinationFolder = program;
    s.MainWindow.Width = cLng(640 * twipsPerPixelX());
    s.MainWindow.Height = cLng(480 * twipsPerPixelY());
    s.LastFolder = program;
    s.BasketList.Folder = program;
    s.Twain.Folder = acquireFolder();
    s.Capture.Folder = captureFolder();
    return s;
}

void subApplySetupDefaults() {
    Setup = fncSetupDefaults();
    for (const QString& folder : {Setup.Capture.Folder, Setup.Twain.Folder})
        if (!fncFolderExists(folder))
            QDir().mkpath(folder);
}

void subBringSetupIntoRange(typSetup& record) {
    bringSaveOptionsIntoRange(record.SaveOptions);
    bringBatchSaveIntoRange(record.BatchSave);
    bringListsIntoRange(record);
    bringTaskDefaultsIntoRange(record.TaskDefaults);
    bringDevicesIntoRange(record);
}

void subLoadSetup() {
    errorTail(QStringLiteral("subLoadSetup"), [] {
        SetupFile = AppPaths::setupFile();
        try {
            refuseUnsafeSetupPath(SetupFile);
            if (!QFileInfo::exists(SetupFile))
                subApplySetupDefaults();
            else
                loadExistingSetup();
        } catch (...) {
            subApplySetupDefaults();
            throw;
        }
    });
}

void subSaveSetup() {
    errorTail(QStringLiteral("subSaveSetup"), [] {
        refuseUnsafeSetupPath(SetupFile);
        QSaveFile file(SetupFile);
        if (!file.open(QIODevice::WriteOnly))
            raiseError(err::PermissionDenied, file.errorString());
        const QByteArray bytes = encodeSetup(Setup);
        if (file.write(bytes) != bytes.size() || !file.commit())
            raiseError(err::DeviceIO, file.errorString());
    });
}

void subDeleteSetupFile() {
    if (isSafeSetupPath(SetupFile))
        QFile::remove(SetupFile);
}

} // namespace picbasket
