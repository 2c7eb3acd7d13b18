#pragma once
#include <QString>
#include <QStringList>

namespace picbasket {

// The basket rows a batch run passed over because their files could not be read.
// The run says nothing per row; at its end one message lists them, name and
// reason, as many as fit on a screen and then how many more there are.
class UnreadableRows {
public:
    // Lines listed before the rest are only counted.
    static constexpr int MaxListed = 20;

    void add(const QString& name, const QString& reason);
    int count() const { return int(lines_.size()); }
    // The text of the closing message; empty when every row was read.
    QString message() const;
    // Shows the message when there is anything to say.
    void report() const;

private:
    QStringList lines_;
};

} // namespace picbasket
