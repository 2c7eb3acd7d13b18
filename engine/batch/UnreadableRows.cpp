#include "engine/batch/UnreadableRows.h"

#include "core/MessageBox.h"

namespace picbasket {

namespace {

// One part of the closing message: its heading, then its rows.
QStringList part(const QString& one, const QString& many, const QStringList& lines) {
    if (lines.isEmpty())
        return {};
    QStringList text{lines.size() == 1 ? one : many};
    text << lines.mid(0, UnreadableRows::MaxListed);
    if (lines.size() > UnreadableRows::MaxListed)
        text << QStringLiteral("and %1 more").arg(lines.size() - UnreadableRows::MaxListed);
    return text;
}

} // namespace

void UnreadableRows::add(const QString& name, const QString& reason) {
    lines_ << name + QStringLiteral(": ") + reason;
}

void UnreadableRows::addRefused(const QString& name, const QString& reason) {
    refused_ << name + QStringLiteral(": ") + reason;
}

QString UnreadableRows::message() const {
    QStringList text =
        part(headingOne_, headingMany_, lines_);
    const QStringList refused =
        part(QStringLiteral("This file was read but could not be written:"),
             QStringLiteral("These files were read but could not be written:"), refused_);
    if (!text.isEmpty() && !refused.isEmpty())
        text << QString();
    text << refused;
    return text.isEmpty() ? QString() : joinLines(text);
}

void UnreadableRows::report() const {
    if (count() > 0)
        msgBox(message(), mb::OKOnly | mb::Exclamation);
}

} // namespace picbasket
