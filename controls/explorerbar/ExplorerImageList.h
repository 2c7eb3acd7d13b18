#pragma once
#include <QImage>
#include <QString>
#include <vector>

namespace picbasket {

// The icons an explorer bar draws beside its items: a 1-based list of keyed images.
class ExplorerImageList {
public:
    virtual ~ExplorerImageList() = default;
    virtual int count() const = 0;
    // Key and picture of image `index` (1..count).
    virtual QString key(int index) const = 0;
    virtual QImage image(int index) const = 0;
};

// A keyed image list held in memory.
class KeyedImageList : public ExplorerImageList {
public:
    void add(const QString& key, const QImage& image) { entries_.push_back({key, image}); }
    int count() const override { return int(entries_.size()); }
    QString key(int index) const override { return valid(index) ? entries_[index - 1].key : QString(); }
    QImage image(int index) const override { return valid(index) ? entries_[index - 1].image : QImage(); }

private:
    struct Entry {
        QString key;
        QImage image;
    };
    bool valid(int index) const { return index >= 1 && index <= count(); }
    std::vector<Entry> entries_;
};

} // namespace picbasket
