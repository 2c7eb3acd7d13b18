#pragma once

namespace picbasket {

class ImageBox;

// What the panes that work in the preview's image box need of the preview: the box
// (the metadata commands change it, the folder listing decodes its thumbnails in it,
// the basket's print loads its rows in it). The file it shows is the shared
// FileListFocus::PicTiffTag.
class PreviewedFile {
public:
    virtual ImageBox& previewBox() = 0;

protected:
    ~PreviewedFile() = default;
};

} // namespace picbasket
