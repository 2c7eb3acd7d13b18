#include "core/AppError.h"

namespace picbasket {

AppError::AppError(int32_t number, QString description, int line)
    : number_(number), description_(description.isEmpty() ? standardDescription(number) : description),
      line_(line), what_(description_.toStdString()) {}

QString AppError::standardDescription(int32_t number) {
    switch (number) {
    case err::InvalidProcedureCall: return QStringLiteral("Invalid procedure call or argument");
    case err::Overflow: return QStringLiteral("Overflow");
    case err::OutOfMemory: return QStringLiteral("Out of memory");
    case err::SubscriptOutOfRange: return QStringLiteral("Subscript out of range");
    case err::TypeMismatch: return QStringLiteral("Type mismatch");
    case err::FileNotFound: return QStringLiteral("File not found");
    case err::BadFileMode: return QStringLiteral("Bad file mode");
    case err::FileAlreadyOpen: return QStringLiteral("File already open");
    case err::DeviceIO: return QStringLiteral("Device I/O error");
    case err::InputPastEnd: return QStringLiteral("Input past end of file");
    case err::PermissionDenied: return QStringLiteral("Permission denied");
    case err::PathNotFound: return QStringLiteral("Path not found");
    case err::ObjectNotSet: return QStringLiteral("Object variable or With block variable not set");
    case err::InvalidPicture: return QStringLiteral("Invalid picture");
    case err::Unexpected: return QStringLiteral("Unexpected failure");
    default: return QStringLiteral("Application-defined or object-defined error");
    }
}

void raiseError(int32_t number, const QString& description, int line) {
    throw AppError(number, description, line);
}

} // namespace picbasket
