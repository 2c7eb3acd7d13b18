#include "engine/batch/UnreadableRows.h"

#include "core/MessageBox.h"

namespace picbasket {

void UnreadableRows::add(const QString& name, const QString& reason) {
    lines_ << name + QStringLiteral(": ") + reason;
}

QString UnreadableRows::message() const {
    if (lines_.isEmpty())
        return {};
    QStringList text{lines_.size() == 1 ? headingOne_ : headingMany_};
    text << lines_.mid(0, MaxListed);
    if (lines_.size() > MaxListed)
        text << QStringLiteral("and %1 more").arg(lines_.size() - MaxListed);
    return joinLines(text);
}

void UnreadableRows::report() const {
    if (!lines_.isEmpty())
        msgBox(message(), mb::OKOnly | mb::Exclamation);
}

} // namespace picbasket
