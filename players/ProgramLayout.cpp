#include "players/ProgramLayout.h"

#include <stdexcept>

namespace picbasket::layout {

namespace {

const char TrailerMagic[4] = {0x08, 0x00, 0x0B, 0x00};
const QByteArray OptionsName = QByteArrayLiteral("OPTIONS");

// A decimal number of 1 to 18 digits and nothing else; -1 otherwise.
int64_t digitsValue(QByteArrayView text) {
    if (text.isEmpty() || text.size() > 18)
        return -1;
    int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

void putLittleEndian(QByteArray& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.append(char((value >> (8 * i)) & 0xFF));
}

uint32_t getLittleEndian(QByteArrayView in, int bytes) {
    uint32_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= uint32_t(uint8_t(in[i])) << (8 * i);
    return value;
}

// The list offset the trailer names, or -1 when the trailer is damaged.
int64_t trailerListOffset(QByteArrayView file) {
    if (file.size() < TrailerSize)
        return -1;
    const QByteArrayView trailer = file.last(TrailerSize);
    if (trailer.first(4) != QByteArrayView(TrailerMagic, 4) || trailer[14] != '\0')
        return -1;
    // Left-aligned digits, then blanks only.
    QByteArrayView digits = trailer.sliced(4, 10);
    qsizetype end = digits.size();
    while (end > 0 && digits[end - 1] == ' ')
        --end;
    return digitsValue(digits.first(end));
}

// One list line without its CR LF, parsed from the right, since names may hold ";".
bool readLine(QByteArrayView line, int64_t listOffset, ProgramContent& content,
              int64_t& optionsOffset, QString& error) {
    if (!line.endsWith(';')) {
        error = QStringLiteral("a list line does not end in \";\"");
        return false;
    }
    const QByteArrayView body = line.chopped(1);
    const qsizetype lastSep = body.lastIndexOf(';');
    if (lastSep < 0) {
        error = QStringLiteral("a list line has no offset");
        return false;
    }
    const int64_t last = digitsValue(body.sliced(lastSep + 1));
    const QByteArrayView head = body.first(lastSep);
    if (head == OptionsName && last >= 0) {
        if (content.hasOptions || last + OptionsRecordSize > listOffset) {
            error = QStringLiteral("the options line is repeated or points outside the payload");
            return false;
        }
        content.hasOptions = true;
        optionsOffset = last;
        return true;
    }
    const qsizetype sep = head.lastIndexOf(';');
    const int64_t offset = sep < 0 ? -1 : digitsValue(head.sliced(sep + 1));
    // Each image is followed by its zero byte, so it ends before the list.
    if (last <= 0 || offset <= 0 || offset >= listOffset - last) {
        error = QStringLiteral("an image entry points outside the payload");
        return false;
    }
    content.images.append({QString::fromUtf8(head.first(sep)), offset, last});
    return true;
}

} // namespace

QByteArray fncContentLine(const QString& name, int64_t offset, int64_t length) {
    QString safe = name;
    safe.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return safe.toUtf8() + ';' + QByteArray::number(qint64(offset)) + ';' +
           QByteArray::number(qint64(length)) + ";\r\n";
}

QByteArray fncOptionsLine(int64_t offset) {
    return OptionsName + ';' + QByteArray::number(qint64(offset)) + ";\r\n";
}

QByteArray fncOptionsRecord(const SlideShowOptions& options) {
    QByteArray record;
    putLittleEndian(record, uint32_t(options.backColor), 4);
    putLittleEndian(record, uint32_t(uint16_t(options.interval)), 2);
    return record;
}

QByteArray fncTrailer(int64_t listOffset) {
    if (listOffset < 0 || listOffset > MaxListOffset)
        throw std::runtime_error("The generated program is too large for its trailer.");
    QByteArray trailer(TrailerMagic, 4);
    trailer += QByteArray::number(qint64(listOffset)).leftJustified(10, ' ');
    trailer += '\0';
    return trailer;
}

bool fncReadProgramContent(QByteArrayView file, ProgramContent& content, QString& error) {
    content = {};
    const int64_t listOffset = trailerListOffset(file);
    const int64_t listEndLimit = int64_t(file.size()) - TrailerSize;
    if (listOffset < 0 || listOffset >= listEndLimit) {
        error = QStringLiteral("the trailer is damaged");
        return false;
    }
    const QByteArrayView tail = file.sliced(listOffset, listEndLimit - listOffset);
    const qsizetype zero = tail.indexOf('\0');
    if (zero < 0) {
        error = QStringLiteral("the list has no end");
        return false;
    }
    content.listOffset = listOffset;
    int64_t optionsOffset = -1;
    QByteArrayView list = tail.first(zero);
    while (!list.isEmpty()) {
        const qsizetype end = list.indexOf("\r\n");
        const QByteArrayView line = end < 0 ? list : list.first(end);
        list = end < 0 ? QByteArrayView() : list.sliced(end + 2);
        if (line.isEmpty())
            continue;
        if (!readLine(line, listOffset, content, optionsOffset, error))
            return false;
    }
    if (content.hasOptions) {
        const QByteArrayView record = file.sliced(optionsOffset, OptionsRecordSize);
        content.options.backColor = int32_t(getLittleEndian(record, 4));
        content.options.interval = int16_t(uint16_t(getLittleEndian(record.sliced(4), 2)));
    }
    return true;
}

void ProgramLayoutWriter::write(QByteArrayView bytes) {
    if (device_.write(bytes.data(), bytes.size()) != bytes.size())
        throw std::runtime_error(device_.errorString().toStdString());
    offset_ += bytes.size();
}

void ProgramLayoutWriter::writeTemplate(QByteArrayView templateBytes) {
    write(templateBytes);
    write(QByteArrayView("\0", 1));
}

QByteArray ProgramLayoutWriter::appendImage(const QString& name, QByteArrayView jpeg) {
    const QByteArray line = fncContentLine(name, offset_, jpeg.size());
    write(jpeg);
    write(QByteArrayView("\0", 1));
    return line;
}

QByteArray ProgramLayoutWriter::appendOptions(const SlideShowOptions& options) {
    const QByteArray line = fncOptionsLine(offset_);
    write(fncOptionsRecord(options));
    return line;
}

void ProgramLayoutWriter::finish(QByteArrayView list) {
    const QByteArray trailer = fncTrailer(offset_);
    write(list);
    write(QByteArrayView("\0", 1));
    write(trailer);
}

} // namespace picbasket::layout
