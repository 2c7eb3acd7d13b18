#pragma once
#include <QString>
#include <cstdint>
#include <exception>
#include <string>

namespace picbasket {

// Error numbers the system raises and tests for.
namespace err {
inline constexpr int32_t InvalidProcedureCall = 5;
inline constexpr int32_t Overflow = 6;
inline constexpr int32_t OutOfMemory = 7;
inline constexpr int32_t SubscriptOutOfRange = 9;
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t FileNotFound = 53;
inline constexpr int32_t FileAlreadyOpen = 55;
inline constexpr int32_t DeviceIO = 57;
inline constexpr int32_t BadFileMode = 54;
inline constexpr int32_t InputPastEnd = 62;
inline constexpr int32_t PermissionDenied = 70;
inline constexpr int32_t PathNotFound = 76;
inline constexpr int32_t ObjectNotSet = 91;
inline constexpr int32_t InvalidPicture = 481;
// The "unexpected failure" of a control member: the skippable failure of one operation.
inline constexpr int32_t Unexpected = static_cast<int32_t>(0x8000FFFF);
} // namespace err

// The one exception type of the system: an error number, its description and the
// line (within the failing procedure) it was raised at, 0 when unknown.
class AppError : public std::exception {
public:
    AppError(int32_t number, QString description, int line = 0);

    int32_t number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    int line() const noexcept { return line_; }
    const char* what() const noexcept override { return what_.c_str(); }

    // The runtime's standard description of a number ("Type mismatch", ...).
    static QString standardDescription(int32_t number);

private:
    int32_t number_;
    QString description_;
    int line_;
    std::string what_;
};

// Throws AppError with the standard description of the number, or the given text.
[[noreturn]] void raiseError(int32_t number, const QString& description = {}, int line = 0);

} // namespace picbasket
