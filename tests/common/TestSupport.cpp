#include "tests/common/TestSupport.h"
#include "core/AppPaths.h"

namespace picbasket::test {

MessageRecorder::MessageRecorder() {
    previous_ = setMessagePresenter([this](const MessageRequest& request) {
        shown_.push_back(request);
        if (!answers_.empty()) {
            const int answer = answers_.front();
            answers_.erase(answers_.begin());
            return answer;
        }
        return (request.style & 7) == mb::YesNo || (request.style & 7) == mb::YesNoCancel ? mb::Yes
               : (request.style & 7) == mb::RetryCancel                                 ? mb::Retry
               : (request.style & 7) == mb::AbortRetryIgnore                            ? mb::Abort
                                                                                        : mb::OK;
    });
}

MessageRecorder::~MessageRecorder() { setMessagePresenter(previous_); }

ErrorRecorder::ErrorRecorder() {
    previous_ = setErrorPresenter([this](const ErrorReport& report) { reports_.push_back(report); });
}

ErrorRecorder::~ErrorRecorder() { setErrorPresenter(previous_); }

TempAppFolder::TempAppFolder() {
    AppPaths::overrideProgramFolder(dir_.path());
    AppPaths::overrideDataRoot(dir_.path());
    AppPaths::overrideExecutableName(QStringLiteral("picbasket"));
}

TempAppFolder::~TempAppFolder() { AppPaths::resetOverrides(); }

QString testDataFolder() {
    const QString env = qEnvironmentVariable("PICBASKET_TEST_DATA");
    return env.isEmpty() ? QStringLiteral(PICBASKET_TEST_DATA_DIR) : env;
}

} // namespace picbasket::test
