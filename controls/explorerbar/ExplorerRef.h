#pragma once
#include <QString>
#include <variant>

namespace picbasket {

// A group, item or icon as the host names it: by key (text) or by index (number).
class ExplorerRef {
public:
    ExplorerRef(int index) : value_(index) {}
    ExplorerRef(const QString& key) : value_(key) {}
    ExplorerRef(const char* key) : value_(QString::fromUtf8(key)) {}

    bool isIndex() const { return std::holds_alternative<int>(value_); }
    int index() const { return isIndex() ? std::get<int>(value_) : 0; }
    QString key() const { return isIndex() ? QString() : std::get<QString>(value_); }
    // The reference as text: the key, or the index in decimal.
    QString text() const { return isIndex() ? QString::number(index()) : key(); }

private:
    std::variant<int, QString> value_;
};

} // namespace picbasket
