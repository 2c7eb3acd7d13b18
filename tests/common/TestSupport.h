#pragma once
#include "core/ErrorHandler.h"
#include "core/MessageBox.h"

#include <QString>
#include <QTemporaryDir>
#include <vector>

namespace picbasket::test {

// Collects the message boxes shown while it lives and answers each with a chosen
// result (the default button when none is queued).
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();
    void answerNext(int result) { answers_.push_back(result); }
    const std::vector<MessageRequest>& shown() const { return shown_; }

private:
    std::vector<MessageRequest> shown_;
    std::vector<int> answers_;
    MessagePresenter previous_;
};

// Collects the error reports raised while it lives.
class ErrorRecorder {
public:
    ErrorRecorder();
    ~ErrorRecorder();
    const std::vector<ErrorReport>& reports() const { return reports_; }

private:
    std::vector<ErrorReport> reports_;
    ErrorPresenter previous_;
};

// A temporary folder that also serves as the program folder and data root.
class TempAppFolder {
public:
    TempAppFolder();
    ~TempAppFolder();
    QString path() const { return dir_.path(); }
    QString file(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// The folder of the checked-in test files.
QString testDataFolder();

} // namespace picbasket::test
