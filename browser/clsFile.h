#pragma once
#include "core/QuotedRecords.h"

#include <QString>
#include <QStringList>
#include <memory>

class QSaveFile;

namespace picbasket {

// Sequential record access to one basket file, for one save or one open. Reading
// takes the whole file in and checks every record before the first is handed out,
// so a damaged file is refused before a caller changes anything. Writing goes
// through a QSaveFile: the file appears, replacing the old one, only when
// closefile commits it whole; an object destroyed before that leaves no file.
// The read and write members raise AppError (62 for a record of the wrong form,
// 57 for a failed write); OpenForRead and OpenForWrite report by their result.
class clsFile {
public:
    clsFile();
    ~clsFile();
    clsFile(const clsFile&) = delete;
    clsFile& operator=(const clsFile&) = delete;

    // Basket files are lists of paths and task rows; a larger file is no basket file.
    static constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

    // Reads and checks the whole file. False, with HasError and ErrorText, when it
    // cannot be read, is too large or holds a malformed record.
    bool OpenForRead(const QString& fileName);
    // True when no record is left to read, or no file is open.
    bool fEof() const;
    // The next record, which must hold exactly one field: its text. "" when no file
    // is open.
    QString readLine();
    // The next record, which must hold 19 fields.
    void read_EditingList(QStringList& fields);
    // The next record, which must hold two fields.
    void read_ImageBasket(QString& path, QString& data);
    // The line the record read last starts on, for messages about it.
    int recordLine() const;

    // Opens a new file that replaces fileName once closefile commits it. False, with
    // HasError and ErrorText, when it cannot be created.
    bool OpenForWrite(const QString& fileName);
    void writeline(const QString& text);
    void write_EditingList(const QStringList& fields);
    void write_ImageBasket(const QString& path, const QString& data);
    // Ends the open file; a file being written is committed, and a failed commit
    // raises error 57 (the old file, if any, is then kept).
    void closefile();

    bool IsOpen() const { return open_; }
    QString FileName() const { return fileName_; }
    bool HasError() const { return hasError_; }
    // The error number of the failed open: 53 a file that cannot be read, 62 a
    // malformed record, 7 a file too large, 70 a file that cannot be created.
    int32_t ErrorNumber() const { return errorNumber_; }
    QString ErrorText() const { return errorText_; }

private:
    const QStringList& nextRecord(qsizetype fields);
    void writeRecord(const QStringList& fields);
    void fail(int32_t number, const QString& text);

    bool open_ = false;
    bool hasError_ = false;
    int32_t errorNumber_ = 0;
    QString fileName_;
    QString errorText_;
    QuotedRecordsRead read_;
    qsizetype next_ = 0;
    std::unique_ptr<QSaveFile> out_;
};

} // namespace picbasket
