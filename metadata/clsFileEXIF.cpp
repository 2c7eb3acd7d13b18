#include "metadata/clsFileEXIF.h"

#include "core/AppError.h"
#include "core/QuotedRecords.h"

#include <QFile>

namespace picbasket {

namespace {

// An attribute file holds eleven short records; anything this large is not one.
constexpr qint64 MaxAttributeFileBytes = 1 << 20;

} // namespace

clsFileEXIF::clsFileEXIF() = default;

// A file left open for writing is never committed half-written.
clsFileEXIF::~clsFileEXIF() = default;

bool clsFileEXIF::OpenForRead(const QString& path) {
    closefile(true);
    fileName_ = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        readError_ = file.errorString();
        return false;
    }
    if (file.size() > MaxAttributeFileBytes) {
        readError_ = QStringLiteral("The file is too large for an EXIF attribute file.");
        return false;
    }
    const QuotedRecordsRead read = decodeQuotedRecords(file.readAll());
    if (!read.ok()) {
        readError_ = QStringLiteral("Line %1: %2").arg(read.errorLine).arg(read.error);
        return false;
    }
    for (qsizetype i = 0; i < read.records.size(); ++i) {
        if (read.records[i].size() != 2) {
            readError_ = QStringLiteral("Line %1: a record holds %2 fields instead of a name "
                                        "and a value.")
                             .arg(read.recordLines.value(i))
                             .arg(read.records[i].size());
            return false;
        }
    }
    records_ = read.records;
    next_ = 0;
    isOpen_ = true;
    return true;
}

bool clsFileEXIF::fEof() const {
    return !isOpen_ || out_ || next_ >= records_.size();
}

QString clsFileEXIF::readLine() {
    if (fEof())
        return {};
    QByteArray line = encodeQuotedRecord(records_[next_++]);
    line.chop(2);
    return QString::fromUtf8(line);
}

void clsFileEXIF::ReadEXIF(QString& name, QString& value) {
    if (fEof())
        return;
    const QStringList& record = records_[next_++];
    name = record[0];
    value = record[1];
}

bool clsFileEXIF::OpenForWrite(const QString& path) {
    closefile(true);
    fileName_ = path;
    out_ = std::make_unique<QSaveFile>(path);
    if (!out_->open(QIODevice::WriteOnly)) {
        out_.reset();
        return false;
    }
    isOpen_ = true;
    return true;
}

void clsFileEXIF::WriteEXIF(const QString& name, const QString& value) {
    if (isOpen_ && out_)
        out_->write(encodeQuotedRecord({name, value}));
}

void clsFileEXIF::writeline(const QString& text) {
    if (isOpen_ && out_)
        out_->write(text.toUtf8() + "\r\n");
}

void clsFileEXIF::closefile(bool discard) {
    isOpen_ = false;
    records_.clear();
    next_ = 0;
    if (!out_)
        return;
    std::unique_ptr<QSaveFile> out = std::move(out_);
    if (discard && out->pos() == 0) {
        out->cancelWriting();
        return;
    }
    if (!out->commit())
        raiseError(err::DeviceIO,
                   QStringLiteral("Cannot write \"%1\": %2").arg(fileName_, out->errorString()));
}

} // namespace picbasket
