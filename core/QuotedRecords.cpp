#include "core/QuotedRecords.h"
#include "core/setup/SetupCodec.h"

namespace picbasket {

namespace {

QByteArray quotedField(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

// A cursor over the data that reads one record at a time and keeps the line count.
class RecordReader {
public:
    explicit RecordReader(QByteArrayView data) : data_(data) {
        if (data_.startsWith("\xEF\xBB\xBF"))
            pos_ = 3;
    }

    int line() const { return line_; }

    // Skips blank lines; false at the end of the data.
    bool atRecord() {
        for (;;) {
            skipBlanks();
            if (pos_ >= data_.size())
                return false;
            if (!takeLineEnd())
                return true;
        }
    }

    // Reads the record at the cursor; false with error set when it is malformed.
    bool readRecord(QStringList& fields, QString& error) {
        for (;;) {
            skipBlanks();
            QByteArray field;
            if (!readField(field, error))
                return false;
            fields.append(decodeSetupText(field));
            skipBlanks();
            if (pos_ >= data_.size() || takeLineEnd())
                return true;
            if (data_[pos_] != ',') {
                error = QStringLiteral("Text after a closing quote.");
                return false;
            }
            ++pos_;
        }
    }

private:
    void skipBlanks() {
        while (pos_ < data_.size() && isBlank(data_[pos_]))
            ++pos_;
    }

    // Takes LF or CR LF at the cursor.
    bool takeLineEnd() {
        if (pos_ < data_.size() && data_[pos_] == '\n') {
            ++pos_;
            ++line_;
            return true;
        }
        if (pos_ + 1 < data_.size() && data_[pos_] == '\r' && data_[pos_ + 1] == '\n') {
            pos_ += 2;
            ++line_;
            return true;
        }
        return false;
    }

    bool readField(QByteArray& field, QString& error) {
        if (pos_ >= data_.size() || data_[pos_] != '"') {
            error = QStringLiteral("A field that does not begin with a double quote.");
            return false;
        }
        for (++pos_; pos_ < data_.size(); ++pos_) {
            const char c = data_[pos_];
            if (c == '\n')
                ++line_;
            if (c != '"') {
                field.append(c);
                continue;
            }
            if (pos_ + 1 < data_.size() && data_[pos_ + 1] == '"') {
                field.append('"');
                ++pos_;
                continue;
            }
            ++pos_;
            return true;
        }
        error = QStringLiteral("A field without its closing double quote.");
        return false;
    }

    QByteArrayView data_;
    qsizetype pos_ = 0;
    int line_ = 1;
};

} // namespace

QByteArray encodeQuotedRecord(const QStringList& fields) {
    QByteArray out;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out.append(',');
        out.append(quotedField(fields[i]));
    }
    out.append("\r\n");
    return out;
}

QByteArray encodeQuotedRecords(const QList<QStringList>& records) {
    QByteArray out;
    for (const QStringList& record : records)
        out.append(encodeQuotedRecord(record));
    return out;
}

QuotedRecordsRead decodeQuotedRecords(QByteArrayView data) {
    QuotedRecordsRead result;
    RecordReader reader(data);
    while (reader.atRecord()) {
        const int line = reader.line();
        QStringList fields;
        if (!reader.readRecord(fields, result.error)) {
            result.records.clear();
            result.recordLines.clear();
            result.errorLine = line;
            return result;
        }
        result.records.append(fields);
        result.recordLines.append(line);
    }
    return result;
}

} // namespace picbasket
