#include "core/ErrorHandler.h"
#include "core/AppError.h"
#include "core/Globals.h"

#include <QCoreApplication>
#include <QThread>
#include <QTextStream>
#include <cstdio>
#include <exception>
#include <new>

namespace picbasket {

namespace {
ErrorReport g_last;
int g_count = 0;
ErrorPresenter g_presenter;
} // namespace

void subGlobalErrorHandler(const QString& description, int32_t number, int line,
                           const QString& source) {
    // The report and its window belong to the window thread; a worker waits there.
    QCoreApplication* app = QCoreApplication::instance();
    if (app && QThread::currentThread() != app->thread()) {
        QMetaObject::invokeMethod(
            app, [=] { subGlobalErrorHandler(description, number, line, source); },
            Qt::BlockingQueuedConnection);
        return;
    }
    g_last = ErrorReport{description, number, line, source, CurrentActivity};
    ++g_count;
    std::fprintf(stderr, "PicBasket error %d in %s (line %d): %s [%s]\n", number,
                 qPrintable(source), line, qPrintable(description), qPrintable(CurrentActivity));
    if (g_presenter) {
        ErrorPresenter presenter = g_presenter;
        presenter(g_last);
    }
}

const ErrorReport& lastErrorReport() { return g_last; }
int errorReportCount() { return g_count; }

ErrorPresenter setErrorPresenter(ErrorPresenter presenter) {
    std::swap(presenter, g_presenter);
    return presenter;
}

void reportCurrentException(const QString& source) {
    try {
        throw;
    } catch (const AppError& e) {
        subGlobalErrorHandler(e.description(), e.number(), e.line(), source);
    } catch (const std::bad_alloc&) {
        subGlobalErrorHandler(AppError::standardDescription(err::OutOfMemory), err::OutOfMemory, 0,
                              source);
    } catch (const std::exception& e) {
        subGlobalErrorHandler(QString::fromLocal8Bit(e.what()), 0, 0, source);
    } catch (...) {
        subGlobalErrorHandler(QStringLiteral("Unknown error"), 0, 0, source);
    }
}

} // namespace picbasket
