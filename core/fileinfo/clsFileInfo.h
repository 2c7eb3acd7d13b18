#pragma once
#include <QDateTime>
#include <QIcon>
#include <QString>
#include <cstdint>

class QPainter;

namespace picbasket {

// Everything the program shows about one file: names, size texts, dates, attributes,
// the type name and icon. Setting FilePath refreshes the whole cache; a missing file
// leaves every property empty or zero.
//
// Linux has no short names, no archive, system, compressed or temporary attributes
// and no version resources of arbitrary files. The short forms are the long ones
// (a path is never upper-cased: on Linux that names another file), those four flags
// read false, hidden means the name starts with ".", the version texts are empty and
// the target system reads "Undefined or Unknown". The creation date is the birth
// time where the file system keeps one, else the modification time.
class clsFileInfo {
public:
    QString FilePath() const { return path_; }
    void setFilePath(const QString& path);

    bool fATTR_Archive() const { return false; }
    bool fATTR_Compressed() const { return false; }
    bool fATTR_Hidden() const { return hidden_; }
    bool fATTR_Normal() const { return normal_; }
    bool fATTR_ReadOnly() const { return readOnly_; }
    bool fATTR_System() const { return false; }
    bool fATTR_Temporary() const { return false; }
    // Attributes with no Linux counterpart cannot be set: false, nothing changes.
    bool setATTR_Archive(bool) { return false; }
    bool setATTR_Compressed(bool) { return false; }
    bool setATTR_System(bool) { return false; }
    bool setATTR_Temporary(bool) { return false; }
    // Hiding means renaming the file, which changing an attribute must never do.
    bool setATTR_Hidden(bool hidden) { return hidden == hidden_ && exists_; }
    // Read-only removes every write permission; clearing it gives the owner write access.
    // Each setter reports whether the file now has the state asked for.
    bool setATTR_ReadOnly(bool readOnly);
    // Normal clears read-only; setting it false changes nothing.
    bool setATTR_Normal(bool normal);

    // Upper-case extension of the file name, without the dot.
    QString fFileExtention() const { return extension_; }
    int64_t fSize() const { return size_; }
    // The size text in the mode given: 0 plain, 1 with the byte count appended.
    QString fSizeFormated(uint8_t mode) const {
        return exists_ ? sizeText(size_, mode) : QString();
    }
    QString fPath32bit() const { return exists_ ? path_ : QString(); }
    QString fPath16bit() const { return exists_ ? path_ : QString(); }
    QString fName32bit() const { return name_; }
    QString fName16bit() const { return name_; }
    QString fType() const { return type_; }
    QString fTargetOS() const { return targetOS_; }
    QString fDateCreated() const { return dateText(created_); }
    QString fDateModified() const { return dateText(modified_); }
    QString fDateAccessed() const { return dateText(accessed_); }
    // The same dates for callers that compute with them (local time; invalid when missing).
    QDateTime dateCreated() const { return created_; }
    QDateTime dateModified() const { return modified_; }
    QDateTime dateAccessed() const { return accessed_; }
    QString fVersion() const { return {}; }
    QString fVersion_Major() const { return {}; }
    QString fVersion_Minor() const { return {}; }
    QString fVersion_Rev() const { return {}; }
    QString fDecription() const { return {}; }
    QString fCopyright() const { return {}; }
    QString fCompanyName() const { return {}; }
    // No file is compressed on disk here: size 0 and "Not Compressed" for existing files.
    int64_t fSizeCompressed() const { return 0; }
    QString fSizeCompressedFormated() const;
    // The type icon, fetched on first use after a refresh (null for a missing file).
    QIcon fIconH();
    QString fInternalName() const { return {}; }
    QString fLanguage() const { return {}; }
    QString fLegalTrademark() const { return {}; }
    // The file's folder with its trailing "/".
    QString fLocation() const { return location_; }
    QString fOriginalFileName() const { return {}; }
    QString fProductName() const { return {}; }
    QString fProductVersion() const { return {}; }

    void ClearFileInfo();
    void RefreshInfo();
    // Turns an English long date-time text ("Monday, January 5, 2004 3:07:09 PM") into
    // numbers: month/day/year and a 24-hour time, keeping the parts asked for.
    static QString Strip_DateTime(const QString& fullDateTime, bool stripOutTime, bool stripOutDate,
                                  bool fourDigitYear);
    // True when the path names a regular file (links followed) that can be opened for reading.
    static bool CheckIfFileExists(const QString& fullPath);
    // The short form of a path, which is the path itself; for a missing file a message
    // and an empty result.
    static QString ConvertLong2Short(const QString& path);
    // The text after the last "/"; empty when there is none.
    static QString StripFileFromPath(const QString& path);
    // The text after the last "."; empty when there is none.
    static QString StripFileExtention(const QString& name);
    // Draws the type icon at x, y on the painter's device.
    void GetFileIcon(QPainter& target, int x, int y);

    // The size-text rule: -1 reads "0.0KB (0 bytes)"; below 1024 the byte count;
    // then KB, MB or GB with two or one decimals; mode 1 appends the byte count from
    // 1024 bytes on. The current locale's separators are used.
    static QString sizeText(int64_t size, uint8_t mode);
    // Date in the locale's short format, a blank, the time in its long format without
    // the time zone; empty for an invalid date.
    static QString dateText(const QDateTime& when);

private:
    void readAttributes();

    QString path_;
    bool exists_ = false;
    QString name_;
    QString extension_;
    QString location_;
    QString type_;
    QString targetOS_;
    int64_t size_ = 0;
    QDateTime created_, modified_, accessed_;
    bool hidden_ = false, normal_ = false, readOnly_ = false;
    QIcon icon_;
    bool iconFetched_ = false;
};

// The one shared file-information object, created on first use.
clsFileInfo& FileInfo();

} // namespace picbasket
