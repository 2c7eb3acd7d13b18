#include "platform/foldertree/FolderTreeview.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

using namespace picbasket;

TEST(FolderTreeview, SelectingAFolderRaisesItsChangeOnce) {
    QTemporaryDir root;
    const QString inner = root.filePath(QStringLiteral("a/b"));
    ASSERT_TRUE(QDir().mkpath(inner));
    FolderTreeview tree;
    QSignalSpy changes(&tree, &FolderTreeview::FolderChange);
    EXPECT_TRUE(tree.setSelectedFolder(inner));
    EXPECT_EQ(tree.SelectedFolder(), inner);
    ASSERT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toString(), inner);
    EXPECT_TRUE(tree.setSelectedFolder(inner));
    EXPECT_EQ(changes.count(), 1);
}

TEST(FolderTreeview, NoFolderKeepsTheSelection) {
    QTemporaryDir root;
    QFile file(root.filePath(QStringLiteral("file.jpg")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    FolderTreeview tree;
    ASSERT_TRUE(tree.setSelectedFolder(root.path()));
    EXPECT_FALSE(tree.setSelectedFolder(root.filePath(QStringLiteral("missing"))));
    EXPECT_FALSE(tree.setSelectedFolder(file.fileName()));
    EXPECT_FALSE(tree.setSelectedFolder(QString()));
    EXPECT_EQ(tree.SelectedFolder(), root.path());
}

TEST(FolderTreeview, NearestExistingFolder) {
    QTemporaryDir root;
    const QString kept = root.filePath(QStringLiteral("kept"));
    ASSERT_TRUE(QDir().mkpath(kept));
    const std::pair<QString, QString> cases[] = {
        {kept, kept},
        {kept + QStringLiteral("/"), kept},
        {kept + QStringLiteral("/gone/deeper"), kept},
        {QString(), QDir::homePath()},
        {QStringLiteral("relative/path"), QDir::homePath()},
        {QStringLiteral("/"), QStringLiteral("/")},
    };
    for (const auto& [path, expected] : cases)
        EXPECT_EQ(fncNearestExistingFolder(path), expected) << path.toStdString();
}

// The folder given at start lies deep in a tree that loads in the background; it must
// end up in view, not above or below the shown rows.
TEST(FolderTreeview, SelectedFolderIsBroughtIntoView) {
    QTemporaryDir root;
    const QString deep = root.filePath(QStringLiteral("one/two/three/four"));
    ASSERT_TRUE(QDir().mkpath(deep));
    FolderTreeview tree;
    tree.resize(200, 150);
    ASSERT_TRUE(tree.setSelectedFolder(deep));
    tree.show();
    (void)QTest::qWaitFor(
        [&] { return tree.viewport()->rect().intersects(tree.visualRect(tree.currentIndex())); },
        3000);
    EXPECT_TRUE(tree.viewport()->rect().contains(tree.visualRect(tree.currentIndex()).center()));
}
