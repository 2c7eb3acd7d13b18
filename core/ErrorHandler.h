#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>

namespace picbasket {

// What one failure reports: filled by subGlobalErrorHandler before it is shown.
struct ErrorReport {
    QString description;
    int32_t number = 0;
    int line = 0;
    QString source;   // "module.procedure"
    QString activity; // the status sentence at the time of the failure
};

// The one error entry every procedure's error tail calls. It records the report,
// writes it to stderr and hands it to the installed presenter (the error-report
// window once the shell has started; nothing else before that). Called on another
// thread (a batch job), it waits while the window thread does all of this, so the
// window thread must let events run while such threads work.
void subGlobalErrorHandler(const QString& description, int32_t number, int line,
                           const QString& source);

// The last report recorded, and how many have been recorded this run.
const ErrorReport& lastErrorReport();
int errorReportCount();

using ErrorPresenter = std::function<void(const ErrorReport&)>;
// Installs the presenter and returns the previous one (tests swap it back).
ErrorPresenter setErrorPresenter(ErrorPresenter presenter);

// Runs body; an AppError or any other exception goes to subGlobalErrorHandler
// with the given source, and the call returns normally. The error tail of a procedure.
template <class Body> void errorTail(const QString& source, Body&& body);

void reportCurrentException(const QString& source);

// Runs a step that may fail without stopping the steps after it, and without a
// message: any exception it raises ends the step only.
template <class Step> void skipFailure(Step&& step) {
    try {
        std::forward<Step>(step)();
    } catch (...) {
    }
}

template <class Body> void errorTail(const QString& source, Body&& body) {
    try {
        std::forward<Body>(body)();
    } catch (...) {
        reportCurrentException(source);
    }
}

} // namespace picbasket
