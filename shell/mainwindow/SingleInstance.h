#pragma once
#include <QLockFile>
#include <QString>
#include <memory>

namespace picbasket {

// The lock that keeps a second copy of the program from running at the same time.
// The lock file names the process that holds it; a file left behind by a copy that
// ended without removing it (a crash, a power cut) is taken over.
class InstanceLock {
public:
    explicit InstanceLock(const QString& lockFile);
    ~InstanceLock();

    // True when this process holds the lock now (taken here or already held).
    bool tryAcquire();
    bool isHeld() const;
    void release();

private:
    std::unique_ptr<QLockFile> lock_;
};

// The lock file of the program: the executable's name and ".lock" in the data root.
QString fncInstanceLockFile();

// The message of a refused second start.
QString fncSecondInstanceText(const QString& title);

} // namespace picbasket
