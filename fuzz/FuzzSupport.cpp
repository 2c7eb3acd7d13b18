#include "fuzz/FuzzSupport.h"
#include "core/ErrorHandler.h"
#include "core/MessageBox.h"
#include "platform/jp2/GrokSession.h"

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace picbasket::fuzz {

namespace {

void createApplication() {
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "picbasket-fuzz";
    static char* argv[] = {name, nullptr};
    // Lives until the process ends: libFuzzer never returns to a caller that
    // could destroy it in order.
    new QGuiApplication(argc, argv);
}

QTemporaryDir& privateFolder() {
    static QTemporaryDir folder;
    return folder;
}

} // namespace

void ensureFuzzEnvironment() {
    static const bool ready = [] {
        createApplication();
        // Thousands of inputs a second: a printed report per refusal would drown
        // the fuzzer's own output and slow it down.
        setMessagePresenter([](const MessageRequest&) { return mb::OK; });
        setErrorPresenter([](const ErrorReport&) {});
        // One input at a time: a worker pool per core would only add start-up
        // time to every JPEG 2000 decode.
        jp2::GrokSession::setThreadCount(1);
        return true;
    }();
    (void)ready;
}

QString fuzzFolder() {
    return privateFolder().path();
}

QString writeFuzzFile(const QString& fileName, const QByteArray& bytes) {
    const QString path = privateFolder().filePath(fileName);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzzPropertyFailed("cannot write the input into the private temporary folder");
    return path;
}

QByteArray fuzzBytes(const uint8_t* data, size_t size) {
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

void fuzzPropertyFailed(const char* what) {
    std::fprintf(stderr, "fuzz property broken: %s\n", what);
    std::fflush(stderr);
    std::abort();
}

} // namespace picbasket::fuzz
