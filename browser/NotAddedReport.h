#pragma once
#include "engine/batch/UnreadableRows.h"

namespace picbasket {

class BasketAdder;

// The files one add to the basket (the add command, a drop, a reopened basket file)
// could not take. While it lives it hears the adder's notAdded; show() then says them
// in one message, path and reason, a screenful and then how many more.
class NotAddedReport {
public:
    explicit NotAddedReport(BasketAdder& adder);
    ~NotAddedReport();
    NotAddedReport(const NotAddedReport&) = delete;
    NotAddedReport& operator=(const NotAddedReport&) = delete;

    void add(const QString& path, const QString& reason) { files_.add(path, reason); }
    int count() const { return files_.count(); }
    QString message() const { return files_.message(); }
    void show() const { files_.report(); }

private:
    BasketAdder& adder_;
    UnreadableRows files_;
};

} // namespace picbasket
