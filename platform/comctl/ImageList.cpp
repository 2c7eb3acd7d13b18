#include "platform/comctl/ImageList.h"

namespace picbasket {

int ImageList::Add(const QImage& picture, const QString& key) {
    entries_.push_back({picture, key});
    return Count();
}

QImage ImageList::Image(int index) const {
    if (index < 1 || index > Count())
        return {};
    return entries_[index - 1].picture;
}

QImage ImageList::Image(const QString& key) const {
    if (key.isEmpty())
        return {};
    for (const Entry& entry : entries_)
        if (entry.key == key)
            return entry.picture;
    return {};
}

bool ImageList::HasKey(const QString& key) const {
    return !Image(key).isNull();
}

} // namespace picbasket
