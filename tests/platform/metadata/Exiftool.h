#pragma once
#include <QByteArray>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

// exiftool as the metadata tests' oracle: the runner and the readings the tests
// compare (maker notes, validation warnings, one tag's value, embedded bytes).
// A test that needs it skips when haveExiftool() is false.
namespace picbasket::test {

inline bool haveExiftool() {
    return !QStandardPaths::findExecutable("exiftool").isEmpty();
}

// exiftool's standard output for the arguments, byte for byte. The wait is long
// enough for a file of tens of thousands of keywords.
inline QByteArray exiftoolBytes(const QStringList& args) {
    QProcess p;
    p.start("exiftool", args);
    p.waitForFinished(120000);
    return p.readAllStandardOutput();
}

// exiftool's standard output as text, without white space at either end.
inline QString exiftool(const QStringList& args) {
    return QString::fromUtf8(exiftoolBytes(args)).trimmed();
}

// Every maker-note tag exiftool reads, with its value, one per line (the group
// name is the note's, so a note read as another layout shows).
inline QString makerNotes(const QString& path) {
    return exiftool({"-a", "-G1", "-s", "-MakerNotes:all", path});
}

// exiftool's validation warnings about a file, without the file's name.
inline QSet<QString> warnings(const QString& path) {
    static const QRegularExpression count("^\\d+ Warnings?");
    QSet<QString> out;
    for (const QString& line :
         exiftool({"-validate", "-warning", "-a", "-s", "-s", "-s", path}).split('\n'))
        // Not the count of warnings ("5 Warnings (1 minor)"): that follows from the rest.
        if (!line.trimmed().isEmpty() && !line.contains(count) && line.trimmed() != "OK")
            out.insert(line.trimmed());
    return out;
}

// One tag's value as a number where it is one ("-n"), e.g. "Orientation" or
// "XMP-dc:Format"; empty when the file has no such tag.
inline QString tag(const QString& path, const QString& name) {
    return exiftool({"-s", "-s", "-s", "-n", "-" + name, path});
}

// The bytes a binary tag holds ("ThumbnailImage", "ICC_Profile"), as stored.
inline QByteArray binaryTag(const QString& path, const QString& name) {
    return exiftoolBytes({"-b", "-" + name, path});
}

} // namespace picbasket::test
