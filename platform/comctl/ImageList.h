#pragma once
#include <QImage>
#include <QString>
#include <QVector>

namespace picbasket {

// A list of pictures addressed by a 1-based index or by an optional key, as the
// list views and the status bar take their icons from it.
class ImageList {
public:
    // Appends the picture; returns its 1-based index. A non-empty key that is already
    // used replaces nothing: the new picture is appended and the key keeps pointing
    // at the first one.
    int Add(const QImage& picture, const QString& key = {});
    int Count() const { return static_cast<int>(entries_.size()); }
    // A null image for an index out of range or an unknown key.
    QImage Image(int index) const;
    QImage Image(const QString& key) const;
    bool HasKey(const QString& key) const;
    void Clear() { entries_.clear(); }

private:
    struct Entry {
        QImage picture;
        QString key;
    };
    QVector<Entry> entries_;
};

} // namespace picbasket
