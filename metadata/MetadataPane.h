#pragma once
#include "browser/PreviewedFile.h"

#include <QString>
#include <QWidget>
#include <array>
#include <memory>

class QLabel;
class QListWidget;
class QPushButton;

namespace picbasket {

struct FileListFocus;
class ImageBox;
class ImageList;
class PaneWindow;
class ListView;
class TabStrip;

// The metadata pane: the EXIF and IPTC lists of the previewed file under a tab strip,
// each with a tool bar of commands that edit the file's metadata. The lists describe
// the file whose path they carry as their tag; the commands act only while that is the
// previewed file. The pane is its own root widget (PicMetadata); the window places it
// in its splitter tree and the pane lays out its children (layOut).
class MetadataPane : public QWidget {
    Q_OBJECT

public:
    MetadataPane(QWidget* parent, PaneWindow& window, FileListFocus& focus,
                 PreviewedFile& preview);
    ~MetadataPane() override;

    // The readers fill a list from the box's image; they add rows and never empty
    // the list.
    void ReadFileEXIFInfo(ImageBox& box, ListView* list, const QString& filePath);
    void ReadFileIPTCInfo(ImageBox& box, ListView* list, const QString& filePath);
    void tbsMetadata_Click();
    void lvExif_ColumnClick(int column);
    void lvIPTC_ColumnClick(int column);
    // The tool-bar commands by button index, public for the menus; the attribute
    // commands they run; what the IPTC list dialogs hand back on OK.
    void cmdEXIFBar_Click(int index);
    void cmdIPTCBar_Click(int index);
    void lvExif_DblClick();
    void lvIPTC_DblClick();
    void subAddExifAttribute();
    void subEditAttribute();
    void subDeleteAttribute();
    void subClearAllAttributes();
    void subUpdateIPTC_Category(QListWidget* lstSupCats, const QString& urgency);
    void subUpdateIPTC_Keywords(QListWidget* lstKeywords);
    // The IPTC bar's ".ffo" commands.
    void subOpenIPTCFile();
    void subSaveIPTCFile();

    // What the preview asks when it shows a file: the lists emptied; the lists that
    // apply to the file's extension filled from the box, their tab chosen, and the
    // status bar's metadata panel set. Both steps go on when one of their parts fails.
    void clearLists();
    void showFileMetadata(ImageBox& box, const QString& file, const QString& extension);

    // What the pane gives the others: its two lists and their tab strip.
    ListView* exifList() const { return lvExif; }
    ListView* iptcList() const { return lvIPTC; }
    TabStrip* tabs() const { return tbsMetadata; }
    // Places the caption, the tab strip, the lists and the tool bars in the pane's
    // rectangle; the tool bars stand in the strip the tab strip leaves at the right.
    void layOut();
    // The pictures of the tool bars' buttons, put on at start and taken off at the end.
    void setButtonPictures();
    void removeButtonPictures();

    // The pane's controls, for the window's caption menu and the tests.
    QLabel* caption() const { return lblMetadata; }
    QWidget* exifBar() const { return picEXIFBar; }
    QWidget* iptcBar() const { return picIPTCBar; }
    const std::array<QPushButton*, 6>& exifButtons() const { return cmdEXIFBar; }
    const std::array<QPushButton*, 5>& iptcButtons() const { return cmdIPTCBar; }

signals:
    // The window is to show the pane beside the preview, or hide it when both are
    // false.
    void paneShowRequested(bool exif, bool iptc);

private:
    // Controls, named as the rest of the program addresses them.
    QWidget* PicMetadata;
    QLabel* lblMetadata;
    TabStrip* tbsMetadata;
    ListView* lvExif;
    ListView* lvIPTC;
    QWidget* picEXIFBar;
    QWidget* picIPTCBar;
    std::array<QPushButton*, 6> cmdEXIFBar{};
    std::array<QPushButton*, 5> cmdIPTCBar{};
    // The small pictures of both lists: 1 marks what may be edited.
    std::unique_ptr<ImageList> ilMetadata;


    ImageBox& previewBox() { return preview_.previewBox(); }
    QString previewPath() const;

    PaneWindow& window_;
    FileListFocus& focus_;
    PreviewedFile& preview_;
};

} // namespace picbasket
