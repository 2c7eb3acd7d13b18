#include "core/fileinfo/clsFileInfo.h"
#include "core/MessageBox.h"

#include <QAbstractFileIconProvider>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QMimeDatabase>
#include <QPainter>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace picbasket {

namespace {

constexpr int kIconSize = 32;

// The current locale with its thousands separator always written ("#,##0"); the C
// locale omits it by default.
QLocale numberLocale() {
    QLocale locale;
    locale.setNumberOptions(locale.numberOptions() & ~QLocale::OmitGroupSeparator);
    return locale;
}

// The locale's long time format without its time-zone tokens ("t") and the blanks
// around them; quoted literal text is kept as it stands.
QString timeFormatWithoutZone(const QString& format) {
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        if (quoted || c != QLatin1Char('t'))
            out += c;
    }
    return out.simplified();
}

// The shell-style type name: the MIME comment, or the upper-case extension and " File"
// when the type is unknown.
QString typeName(const QFileInfo& info, const QString& extension) {
    static const QMimeDatabase db;
    const QMimeType mime = db.mimeTypeForFile(info);
    QString type = mime.isValid() && !mime.isDefault() ? mime.comment().trimmed() : QString();
    if (type.isEmpty())
        type = (extension.toUpper() + QStringLiteral(" File")).trimmed();
    return type;
}

QDateTime creationTime(const QFileInfo& info) {
    const QDateTime birth = info.birthTime();
    return birth.isValid() ? birth : info.lastModified();
}

// The write bits of the file's mode (not WriteUser, which asks whether the current
// user may write and is always true for root).
constexpr QFile::Permissions kWriteBits = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;

} // namespace

void clsFileInfo::setFilePath(const QString& path) {
    path_ = path;
    ClearFileInfo();
    if (CheckIfFileExists(path_))
        RefreshInfo();
}

void clsFileInfo::ClearFileInfo() {
    exists_ = false;
    name_.clear();
    extension_.clear();
    location_.clear();
    type_.clear();
    targetOS_.clear();
    size_ = 0;
    created_ = modified_ = accessed_ = QDateTime();
    hidden_ = normal_ = readOnly_ = false;
    icon_ = QIcon();
    iconFetched_ = false;
}

void clsFileInfo::RefreshInfo() {
    ClearFileInfo();
    if (path_.isEmpty())
        return;
    const QFileInfo info(path_);
    if (!info.isFile())
        return;
    exists_ = true;
    name_ = info.fileName();
    extension_ = StripFileExtention(name_).toUpper();
    location_ = info.absolutePath();
    if (!location_.endsWith(QLatin1Char('/')))
        location_ += QLatin1Char('/');
    size_ = info.size();
    created_ = creationTime(info);
    modified_ = info.lastModified();
    accessed_ = info.lastRead();
    type_ = typeName(info, StripFileExtention(name_));
    targetOS_ = QStringLiteral("Undefined or Unknown");
    readAttributes();
}

void clsFileInfo::readAttributes() {
    const QFileInfo info(path_);
    hidden_ = info.fileName().startsWith(QLatin1Char('.'));
    readOnly_ = (info.permissions() & kWriteBits) == 0;
    normal_ = !hidden_ && !readOnly_;
}

bool clsFileInfo::setATTR_ReadOnly(bool readOnly) {
    if (!exists_)
        return false;
    QFile::Permissions perms = QFile::permissions(path_);
    // Qt writes the owner's bit for WriteUser too, so both go.
    perms = readOnly ? (perms & ~(kWriteBits | QFile::WriteUser)) : (perms | QFile::WriteOwner);
    QFile::setPermissions(path_, perms);
    readAttributes();
    return readOnly_ == readOnly;
}

bool clsFileInfo::setATTR_Normal(bool normal) {
    if (!normal)
        return exists_;
    return setATTR_ReadOnly(false) && normal_;
}

QString clsFileInfo::fSizeCompressedFormated() const {
    return exists_ ? QStringLiteral("Not Compressed") : QString();
}

QIcon clsFileInfo::fIconH() {
    if (exists_ && !iconFetched_ && qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        static QAbstractFileIconProvider provider;
        icon_ = provider.icon(QFileInfo(path_));
        iconFetched_ = true;
    }
    return icon_;
}

void clsFileInfo::GetFileIcon(QPainter& target, int x, int y) {
    const QIcon icon = fIconH();
    if (!icon.isNull())
        icon.paint(&target, x, y, kIconSize, kIconSize);
}

bool clsFileInfo::CheckIfFileExists(const QString& fullPath) {
    if (fullPath.isEmpty())
        return false;
    // Only a regular file counts (links followed); it is then opened on a descriptor of
    // our own, without blocking, and checked again in case it was swapped meanwhile.
    struct stat st {};
    if (::stat(QFile::encodeName(fullPath).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return false;
    const int fd =
        ::open(QFile::encodeName(fullPath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return regular;
}

QString clsFileInfo::ConvertLong2Short(const QString& path) {
    if (QFileInfo(path).isFile())
        return path;
    msgBox(joinLines({path, QString(),
                      QStringLiteral("Could not find this file to convert to 16bit file name.")}),
           mb::Exclamation, QStringLiteral("  File Not Found"));
    return {};
}

QString clsFileInfo::StripFileFromPath(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.mid(slash + 1);
}

QString clsFileInfo::StripFileExtention(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot + 1);
}

QString clsFileInfo::sizeText(int64_t size, uint8_t mode) {
    if (size == -1)
        return QStringLiteral("0.0KB (0 bytes)");
    const QLocale locale = numberLocale();
    const QString bytes = locale.toString(static_cast<qlonglong>(size)) + QStringLiteral(" bytes");
    if (size < 1024)
        return bytes;
    const int64_t k = size / 1024;
    const double kb = static_cast<double>(size) / 1024.0;
    const double mbytes = static_cast<double>(size) / 1048576.0;
    QString text;
    if (k < 10)
        text = locale.toString(kb, 'f', 2) + QStringLiteral("KB");
    else if (k < 1000)
        text = locale.toString(kb, 'f', 1) + QStringLiteral("KB");
    else if (k < 10000)
        text = locale.toString(mbytes, 'f', 2) + QStringLiteral("MB");
    else if (k < 1000000)
        text = locale.toString(mbytes, 'f', 1) + QStringLiteral("MB");
    else
        text = locale.toString(mbytes / 1024.0, 'f', 2) + QStringLiteral("GB");
    if (mode == 1)
        text += QStringLiteral(" (") + bytes + QLatin1Char(')');
    return text;
}

QString clsFileInfo::dateText(const QDateTime& when) {
    if (!when.isValid())
        return {};
    const QLocale locale;
    const QDateTime local = when.toLocalTime();
    return locale.toString(local.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
           locale.toString(local.time(),
                           timeFormatWithoutZone(locale.timeFormat(QLocale::LongFormat)));
}

clsFileInfo& FileInfo() {
    static clsFileInfo instance;
    return instance;
}

} // namespace picbasket
