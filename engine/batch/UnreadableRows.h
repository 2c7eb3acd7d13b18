#pragma once
#include <QString>
#include <QStringList>
#include <utility>

namespace picbasket {

// The basket rows a batch run passed over: those whose files could not be read,
// and those that were read but could not be written (an output name no file can
// take). The run says nothing per row; at its end one message lists them, name
// and reason, as many as fit on a screen and then how many more there are. Adding to
// the basket lists the files it could not add the same way, under its own heading.
class UnreadableRows {
public:
    // Lines listed in each part of the message before the rest are only counted.
    static constexpr int MaxListed = 20;

    UnreadableRows() = default;
    // The message's first line for one file and for several.
    UnreadableRows(QString headingOne, QString headingMany)
        : headingOne_(std::move(headingOne)), headingMany_(std::move(headingMany)) {}

    // A row whose file could not be read.
    void add(const QString& name, const QString& reason);
    // A row that was read and not written.
    void addRefused(const QString& name, const QString& reason);
    int count() const { return int(lines_.size() + refused_.size()); }
    // The text of the closing message; empty when every row was converted.
    QString message() const;
    // Shows the message when there is anything to say.
    void report() const;

private:
    QStringList lines_;
    QStringList refused_;
    QString headingOne_ = QStringLiteral("This file could not be read and was not converted:");
    QString headingMany_ = QStringLiteral("These files could not be read and were not converted:");
};

} // namespace picbasket
