#include "browser/FileListBox.h"
#include "tests/common/TestSupport.h"
#include "tests/ui/browser/FolderFixture.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace picbasket;
using namespace picbasket::test;

TEST(FileListBox, ListsVisibleRegularFilesOfThePatternInNameOrder) {
    TempAppFolder temp;
    const QString folder = temp.file("mixed");
    writeMixedFolder(folder);
    QDir(folder).mkdir("folder.jpg");
    writeBytes(QDir(folder).filePath("IMG.JPEG"), "x");
    writeBytes(QDir(folder).filePath("scan.tiff2"), "x");
    QFile::link(QDir(folder).filePath("gone.jpg"), QDir(folder).filePath("broken.jpg"));
    QFile::link(QDir(folder).filePath("a.jpg"), QDir(folder).filePath("link.jpg"));
    FileListBox box;
    box.Pattern = folderPattern();
    box.Path = folder;
    box.Refresh();
    const QStringList expected{"a.jpg",    "B.JPG",    "c.tiff",     "d.tif", "e.bmp",
                               "IMG.JPEG", "link.jpg", "scan.tiff2", "x.pcx"};
    EXPECT_EQ(box.names(), expected);
    EXPECT_EQ(box.ListCount(), expected.size());
    EXPECT_EQ(box.List(1), "B.JPG");
    EXPECT_EQ(box.List(99), QString());
}

TEST(FileListBox, NoFolderGivesNoNames) {
    TempAppFolder temp;
    FileListBox box;
    box.Pattern = folderPattern();
    for (const QString& path : {QString(), temp.file("missing"), temp.file("")}) {
        box.Path = path;
        writeBytes(temp.file("a.jpg"), "x");
        box.Refresh();
        EXPECT_EQ(box.ListCount(), path == temp.file("") ? 1 : 0) << path.toStdString();
    }
}
