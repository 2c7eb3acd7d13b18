#pragma once
#include <QByteArray>
#include <QString>
#include <cstddef>
#include <cstdint>

// What every fuzz target needs around the code it drives: an offscreen
// application object, message boxes and error reports that neither block nor
// print, and a private temporary folder for the inputs that must be files.
namespace picbasket::fuzz {

// Creates the offscreen QGuiApplication when none exists (a test executable
// brings its own) and installs the silent presenters. Safe to call every time.
void ensureFuzzEnvironment();

// The private temporary folder of this run (mode 0700, removed at exit).
QString fuzzFolder();

// Writes bytes to fileName in the private folder, replacing what was there, and
// returns the full path.
QString writeFuzzFile(const QString& fileName, const QByteArray& bytes);

// The input as bytes (a deep copy: the fuzzer's buffer is only borrowed).
QByteArray fuzzBytes(const uint8_t* data, size_t size);

// A broken property: prints what and aborts, so the fuzzer keeps the input and
// the replay fails loudly.
[[noreturn]] void fuzzPropertyFailed(const char* what);
inline void fuzzCheck(bool holds, const char* what) {
    if (!holds)
        fuzzPropertyFailed(what);
}

} // namespace picbasket::fuzz
