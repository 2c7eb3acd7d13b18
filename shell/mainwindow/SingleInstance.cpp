#include "shell/mainwindow/SingleInstance.h"

#include "core/AppPaths.h"
#include "core/MessageBox.h"

#include <QDir>

namespace picbasket {

InstanceLock::InstanceLock(const QString& lockFile) : lock_(std::make_unique<QLockFile>(lockFile)) {
    // Only a lock whose process is gone counts as stale, however old it is.
    lock_->setStaleLockTime(0);
}

InstanceLock::~InstanceLock() = default;

bool InstanceLock::tryAcquire() {
    if (lock_->isLocked())
        return true;
    if (lock_->tryLock(0))
        return true;
    if (lock_->error() == QLockFile::LockFailedError && lock_->removeStaleLockFile())
        return lock_->tryLock(0);
    return false;
}

bool InstanceLock::isHeld() const {
    return lock_->isLocked();
}

void InstanceLock::release() {
    lock_->unlock();
}

QString fncInstanceLockFile() {
    QDir().mkpath(AppPaths::dataRoot());
    return AppPaths::dataRoot() + QLatin1Char('/') + AppPaths::executableName() +
           QStringLiteral(".lock");
}

QString fncSecondInstanceText(const QString& title) {
    return joinLines(
        {QStringLiteral("There is already an instance of ") + title + QStringLiteral(" running!"),
         QStringLiteral("Multiple instance is unsupported.")});
}

} // namespace picbasket
