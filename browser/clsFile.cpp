#include "browser/clsFile.h"

#include "core/AppError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace picbasket {

clsFile::clsFile() = default;

// A write that was never committed is dropped with its object.
clsFile::~clsFile() {
    if (out_)
        out_->cancelWriting();
}

void clsFile::fail(int32_t number, const QString& text) {
    hasError_ = true;
    errorNumber_ = number;
    errorText_ = text;
    open_ = false;
}

bool clsFile::OpenForRead(const QString& fileName) {
    closefile();
    fileName_ = fileName;
    hasError_ = false;
    errorNumber_ = 0;
    errorText_.clear();
    QFile file(fileName);
    if (!QFileInfo(fileName).isFile() || !file.open(QIODevice::ReadOnly)) {
        fail(err::FileNotFound, QStringLiteral("The file '%1' cannot be read.").arg(fileName));
        return false;
    }
    if (file.size() > MaxFileBytes) {
        fail(err::OutOfMemory, QStringLiteral("The file '%1' is too large.").arg(fileName));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        fail(err::FileNotFound,
             QStringLiteral("The file '%1' cannot be read: %2").arg(fileName, file.errorString()));
        return false;
    }
    read_ = decodeQuotedRecords(bytes);
    if (!read_.ok()) {
        fail(err::InputPastEnd,
             QStringLiteral("Line %1 of '%2': %3").arg(read_.errorLine).arg(fileName, read_.error));
        return false;
    }
    next_ = 0;
    open_ = true;
    return true;
}

bool clsFile::fEof() const {
    return !open_ || out_ || next_ >= read_.records.size();
}

const QStringList& clsFile::nextRecord(qsizetype fields) {
    if (fEof())
        raiseError(err::InputPastEnd);
    const int line = read_.recordLines[next_];
    const QStringList& record = read_.records[next_++];
    if (record.size() != fields)
        raiseError(err::InputPastEnd,
                   QStringLiteral("Line %1 of '%2' holds %3 fields where %4 are expected.")
                       .arg(line)
                       .arg(fileName_)
                       .arg(record.size())
                       .arg(fields));
    return record;
}

int clsFile::recordLine() const {
    return next_ > 0 && next_ <= read_.recordLines.size() ? read_.recordLines[next_ - 1] : 0;
}

QString clsFile::readLine() {
    if (!open_)
        return {};
    return nextRecord(1).first();
}

void clsFile::read_EditingList(QStringList& fields) {
    fields = nextRecord(19);
}

void clsFile::read_ImageBasket(QString& path, QString& data) {
    const QStringList& record = nextRecord(2);
    path = record[0];
    data = record[1];
}

bool clsFile::OpenForWrite(const QString& fileName) {
    closefile();
    fileName_ = fileName;
    hasError_ = false;
    errorNumber_ = 0;
    errorText_.clear();
    auto out = std::make_unique<QSaveFile>(fileName);
    if (QFileInfo(fileName).isDir() || !out->open(QIODevice::WriteOnly)) {
        fail(err::PermissionDenied, QStringLiteral("The file '%1' cannot be written: %2")
                                        .arg(fileName, out->errorString()));
        return false;
    }
    out_ = std::move(out);
    open_ = true;
    return true;
}

void clsFile::writeRecord(const QStringList& fields) {
    if (!open_ || !out_)
        raiseError(err::BadFileMode);
    const QByteArray bytes = encodeQuotedRecord(fields);
    if (out_->write(bytes) != bytes.size())
        raiseError(err::DeviceIO,
                   QStringLiteral("Writing '%1' failed: %2").arg(fileName_, out_->errorString()));
}

void clsFile::writeline(const QString& text) {
    writeRecord({text});
}

void clsFile::write_EditingList(const QStringList& fields) {
    if (fields.size() != 19)
        raiseError(err::InvalidProcedureCall);
    writeRecord(fields);
}

void clsFile::write_ImageBasket(const QString& path, const QString& data) {
    writeRecord({path, data});
}

void clsFile::closefile() {
    open_ = false;
    read_ = {};
    next_ = 0;
    if (!out_)
        return;
    const std::unique_ptr<QSaveFile> out = std::move(out_);
    if (!out->commit())
        raiseError(err::DeviceIO,
                   QStringLiteral("Saving '%1' failed: %2").arg(fileName_, out->errorString()));
}

} // namespace picbasket
