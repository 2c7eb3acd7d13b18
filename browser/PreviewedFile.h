#pragma once
#include <QString>

namespace picbasket {

class ImageBox;

// What the panes that act on the previewed file need of the preview: the image box
// their commands change and the file that box was loaded from (empty while nothing
// is previewed).
class PreviewedFile {
public:
    virtual ImageBox& previewBox() = 0;
    virtual QString previewPath() const = 0;

protected:
    ~PreviewedFile() = default;
};

} // namespace picbasket
