#include "core/setup/modSetup.h"
#include "core/AppError.h"
#include "core/AppPaths.h"
#include "core/Convert.h"
#include "core/ErrorHandler.h"
#include "core/MessageBox.h"
#include "core/ScreenTwips.h"
#include "core/modFileSystem.h"
#include "core/setup/SetupCodec.h"
#include "core/setup/SetupRanges.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace picbasket {

namespace {

// folder + "/" + name, without doubling a separator the folder already ends in.
QString inFolder(const QString& folder, const QString& name) {
    return folder.endsWith('/') ? folder + name : folder + '/' + name;
}

QString captureFolder() {
    return inFolder(AppPaths::picturesFolder(), QStringLiteral("Captured"));
}
QString acquireFolder() {
    return inFolder(AppPaths::picturesFolder(), QStringLiteral("Acquired/"));
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

// Reads the existing file into Setup; a damaged file (cut short, or holding values
// this program never stores) is reported, removed and replaced by the defaults.
void loadExistingSetup() {
    typSetup read;
    if (decodeSetup(readSetupBytes(SetupFile), read) && fncSetupRangeFault(read).isEmpty()) {
        Setup = std::move(read);
        return;
    }
    reportCorruptedSetup();
    QFile::remove(SetupFile);
    subApplySetupDefaults();
}

} // namespace

typSetup fncSetupDefaults() {
    typSetup s;
    // Nothing points at the program folder: it is not the user's, and an installed
    // program's folder is not writable. The user's pictures folder (else the home)
    // stands in for it.
    const QString start = AppPaths::startFolder();
    s.BatchSave.DestinationFolder = start;
    s.MainWindow.Width = cLng(640 * twipsPerPixelX());
    s.MainWindow.Height = cLng(480 * twipsPerPixelY());
    s.LastFolder = start;
    s.BasketList.Folder = start;
    s.Twain.Folder = acquireFolder();
    s.Capture.Folder = captureFolder();
    return s;
}

// The capture and scan folders are made by the capture and the scan that first need
// them, so a run that never captures leaves no empty folders in the user's pictures.
void subApplySetupDefaults() {
    Setup = fncSetupDefaults();
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
