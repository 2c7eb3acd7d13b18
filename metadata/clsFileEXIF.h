#pragma once
#include <QByteArray>
#include <QList>
#include <QSaveFile>
#include <QString>
#include <QStringList>
#include <memory>

namespace picbasket {

// Sequential access to an EXIF attribute file (".xiff"): one record per
// attribute, its raw name and its value, each in double quotes, in the
// quoted-record form of core/QuotedRecords (a quote inside a value is doubled,
// UTF-8 with CR LF; files of older editions read as Windows-1252).
//
//     "Make","Acme"<CR><LF>
//     "DateTime","5/6/2004 7:08:09 AM"<CR><LF>
//
// A file is read whole and checked when it is opened: every record must have
// exactly two fields, or the open fails and nothing is read. A file is written
// whole or not at all: the records go to the file only at closefile.
class clsFileEXIF {
public:
    clsFileEXIF();
    ~clsFileEXIF();

    // Reads and checks Path; false (with ReadError saying why) when it cannot be
    // read or is no attribute file.
    bool OpenForRead(const QString& path);
    // End of the records; true when not open for reading.
    bool fEof() const;
    // The next record as its line without the line end; empty when none is left.
    QString readLine();
    // The next record's two fields; nothing when none is left.
    void ReadEXIF(QString& name, QString& value);

    // Prepares Path for writing; false when it cannot be created.
    bool OpenForWrite(const QString& path);
    void WriteEXIF(const QString& name, const QString& value);
    // Writes Text and a line end as they stand.
    void writeline(const QString& text);
    // Ends the file: a file open for writing is committed (raises DeviceIO when
    // that fails); an empty one is left unwritten when Discard is true.
    void closefile(bool discard = false);

    bool IsOpen() const { return isOpen_; }
    QString FileName() const { return fileName_; }
    QString ReadError() const { return readError_; }

private:
    bool isOpen_ = false;
    QString fileName_;
    QString readError_;
    QList<QStringList> records_;
    qsizetype next_ = 0;
    std::unique_ptr<QSaveFile> out_;
};

} // namespace picbasket
