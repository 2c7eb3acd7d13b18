#pragma once
#include <QString>

#include <grok.h>

namespace picbasket::jp2 {

// The one Grok library session of the program: the library is initialised once,
// with a thread pool over every core, and its messages are collected here instead
// of going to stderr, so that a failure can be reported with Grok's own words.
class GrokSession {
public:
    // Initialises the library on first use; later calls do nothing.
    static void ensureStarted();
    // Caps Grok's worker threads (0, the default, is one per hardware thread).
    // Only a call before the session starts has an effect: the fuzz entries use
    // one thread, since starting a pool over every core for each small input
    // costs more than the decode.
    static void setThreadCount(unsigned threads);
    // Forgets the messages collected so far (called before each encode or decode).
    static void clearMessages();
    // The error messages collected since the last clear, one per line; empty when none.
    static QString errorText();
};

// Owns one Grok object (codec or image) and releases it when it goes out of scope.
class GrokRef {
public:
    explicit GrokRef(grk_object* object = nullptr) : object_(object) {}
    ~GrokRef();
    GrokRef(GrokRef&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    GrokRef(const GrokRef&) = delete;
    GrokRef& operator=(const GrokRef&) = delete;
    GrokRef& operator=(GrokRef&&) = delete;
    grk_object* get() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

private:
    grk_object* object_;
};

} // namespace picbasket::jp2
