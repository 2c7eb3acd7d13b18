#include "browser/BasketAdder.h"
#include "browser/PageFiles.h"
#include "browser/modBasketList.h"
#include "core/AppError.h"
#include "engine/batch/BasketRows.h"
#include "platform/comctl/ListView.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/TestSupport.h"
#include "tests/ui/browser/BasketFixture.h"
#include "tests/ui/browser/FolderFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTreeView>
#include <gtest/gtest.h>

using namespace picbasket;
using namespace picbasket::test;

namespace {

// An adder over a basket of its own (rows and thumbnails in vectors), adding from a
// folder holding scan.tif and a.jpg.
class BasketAdderTest : public ::testing::Test {
protected:
    void SetUp() override {
        pages = temp.file("temp");
        QDir().mkpath(pages);
        scan = temp.file("scan.tif");
        ASSERT_TRUE(writeScanTiff(scan));
        photo = temp.file("a.jpg");
        splitPicture(64, 48, Qt::red, Qt::blue).save(photo, "JPEG");
        adder.pageFiles.setFolder(pages);
        adder.inBasket = [this](const QString& source) {
            for (const BasketRow& row : rows)
                if (row.SubItem(4) == source)
                    return true;
            return false;
        };
        adder.addRow = [this](const BasketRow& row, const QImage& thumbnail) {
            rows.push_back(row);
            thumbnails.push_back(thumbnail);
            return int(rows.size());
        };
        adder.fillResolution = [this](const QString& path, const QString& text) {
            filled << path + " " + text;
        };
        adder.fileAdded = [this](int row) { lastRows.push_back(row); };
    }

    static BasketSource source(const QString& path, const QString& pages, int position = 1) {
        BasketSource s;
        s.row.text = QFileInfo(path).fileName();
        s.row.tag = path;
        s.row.subItems = {QString(), "1 KB", pages, "TIFF Image"};
        s.position = position;
        return s;
    }

    QStringList texts() const {
        QStringList out;
        for (const BasketRow& row : rows)
            out << row.Text;
        return out;
    }

    QStringList pageFileNames() const {
        return QDir(pages).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    TempAppFolder temp;
    QString pages, scan, photo;
    BasketAdder adder;
    std::vector<BasketRow> rows;
    std::vector<QImage> thumbnails;
    std::vector<int> lastRows;
    QStringList filled;
};

// Each page file holds its page exactly: the box reads it back in the page's own
// format, and Qt's TIFF reader, an independent decoder, sees the same pixels.
void expectExactPages(const std::vector<BasketRow>& rows, const QString& scan) {
    ASSERT_EQ(rows.size(), 3u);
    QImageReader source(scan);
    for (int p = 1; p <= 3; ++p) {
        const BasketRow& row = rows[size_t(p - 1)];
        ImageBox original;
        original.setPageIndex(p);
        original.LoadFromFile(scan);
        ImageBox page;
        page.LoadFromFile(row.Tag);
        EXPECT_EQ(page.image().format(), original.image().format()) << "page " << p;
        EXPECT_EQ(page.image(), original.image()) << "page " << p;
        ASSERT_TRUE(source.jumpToImage(p - 1));
        const QImage theirs = source.read().convertToFormat(QImage::Format_ARGB32);
        const QImage ours = QImageReader(row.Tag).read().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(ours, theirs) << "page " << p;
        EXPECT_EQ(row.SubItem(1),
                  QStringLiteral("%1 X %2").arg(original.ImageWidth()).arg(original.ImageHeight()));
        EXPECT_FALSE(row.SubItem(2).isEmpty());
        EXPECT_EQ(row.SubItem(4), scan);
    }
}

} // namespace

TEST_F(BasketAdderTest, ACommandSplitsAMultipageFileIntoExactPageFiles) {
    ASSERT_TRUE(adder.add({source(scan, "3")}, 5, BasketAdder::Mode::Command));
    EXPECT_EQ(texts(), QStringList({"scan1", "scan2", "scan3"}));
    expectExactPages(rows, scan);
    for (int p = 1; p <= 3; ++p) {
        const QString name = QFileInfo(rows[size_t(p - 1)].Tag).fileName();
        EXPECT_TRUE(QRegularExpression(QStringLiteral("^scan\\.tif%1_\\d{1,4}\\.tif$").arg(p))
                        .match(name)
                        .hasMatch())
            << name.toStdString();
        EXPECT_EQ(thumbnails[size_t(p - 1)].size(), QSize(40, 40));
    }
    EXPECT_EQ(pageFileNames().size(), 3);
    EXPECT_TRUE(lastRows.empty()) << "the command selects nothing";
}

TEST_F(BasketAdderTest, ADropNamesPagesInBracketsAndSelectsTheLastRowOfEachFile) {
    ASSERT_TRUE(adder.add({source(scan, "3"), source(photo, "1", 2)}, 2, BasketAdder::Mode::Drop));
    EXPECT_EQ(texts(), QStringList({"scan(1)", "scan(2)", "scan(3)", "a"}));
    rows.pop_back();
    expectExactPages(rows, scan);
    EXPECT_EQ(lastRows, std::vector<int>({3, 4}));
}

TEST_F(BasketAdderTest, FilesAlreadyInTheBasketAreSkipped) {
    ASSERT_TRUE(
        adder.add({source(scan, "3"), source(photo, "1", 3)}, 3, BasketAdder::Mode::Command));
    ASSERT_EQ(rows.size(), 4u);
    ASSERT_TRUE(
        adder.add({source(photo, "1", 3), source(scan, "3")}, 3, BasketAdder::Mode::Command));
    EXPECT_EQ(rows.size(), 4u) << "the same file twice gives one row, split pages add nothing";
    EXPECT_EQ(pageFileNames().size(), 3);
}

// Without a folder thumbnail the file is loaded, and its measured size fills an empty
// resolution; a folder thumbnail is scaled and the resolution text copied.
TEST_F(BasketAdderTest, SinglePageRowsTakeTheFolderRowsTexts) {
    BasketSource measured = source(photo, "1");
    BasketSource listed = source(temp.file("b.jpg"), "1", 2);
    listed.row.subItems[0] = "30 x 50";
    listed.row.thumbnail = splitPicture(40, 40, Qt::green, Qt::black);
    ASSERT_TRUE(adder.add({measured, listed}, 2, BasketAdder::Mode::Command));
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].Text, "a");
    EXPECT_EQ(rows[0].Tag, photo);
    EXPECT_EQ(rows[0].SubItems, (std::array<QString, 4>{"64 X 48", "1 KB", "TIFF Image", photo}));
    EXPECT_EQ(filled, QStringList({photo + " 64 X 48"}));
    EXPECT_EQ(rows[1].SubItem(1), "30 x 50") << "b.jpg does not exist: its thumbnail is scaled";
    EXPECT_EQ(thumbnails[1].size(), QSize(40, 40));
    EXPECT_EQ(thumbnails[1].pixelColor(39, 20), QColor(Qt::green));
}

TEST_F(BasketAdderTest, AFileWithoutAThumbnailIsSkippedSilently) {
    const QString broken = temp.file("broken.jpg");
    writeBytes(broken, "not a picture");
    ASSERT_TRUE(
        adder.add({source(broken, "1"), source(photo, "1", 2)}, 2, BasketAdder::Mode::Command));
    EXPECT_EQ(texts(), QStringList({"a"}));
}

TEST_F(BasketAdderTest, AnAddWhileOneRunsIsRefused) {
    bool inner = true;
    adder.pumpEvents = [&] { inner = adder.add({source(photo, "1")}, 1, BasketAdder::Mode::Drop); };
    ASSERT_TRUE(adder.add({source(scan, "3")}, 1, BasketAdder::Mode::Command));
    EXPECT_FALSE(inner);
    EXPECT_EQ(texts(), QStringList({"scan1", "scan2", "scan3"}));
    EXPECT_FALSE(adder.isRunning());
    adder.pumpEvents = [] { raiseError(err::Unexpected, "stop"); };
    EXPECT_THROW(adder.add({source(photo, "1")}, 1, BasketAdder::Mode::Drop), AppError);
    EXPECT_FALSE(adder.isRunning()) << "a failed add lets the next one run";
}

TEST(PageFiles, NamesKeepThePatternAndRepeatedDrawsStillGiveNewFiles) {
    EXPECT_EQ(PageFiles::nameFor("scan.tif", 2, 0.12345), "scan.tif2_1234.tif");
    EXPECT_EQ(PageFiles::nameFor("scan.tif", 1, 0.0), "scan.tif1_0.tif");
    EXPECT_EQ(PageFiles::nameFor("scan.tif", 1, 0.99999999), "scan.tif1_9998.tif");

    TempAppFolder temp;
    PageFiles files(temp.path());
    // A generator that gives the same value three times in a row before moving on.
    int calls = 0;
    files.random = [&] { return 0.5 + 0.0001 * (calls++ / 3); };
    writeBytes(temp.file("p.tif1_4999.tif"), "someone else's");
    ImageBox box;
    box.setImage(splitPicture(8, 8, Qt::red, Qt::blue));
    QStringList made;
    for (int i = 0; i < 3; ++i)
        made << QFileInfo(files.write(box, "p.tif", 1)).fileName();
    EXPECT_EQ(made, QStringList({"p.tif1_5000.tif", "p.tif1_5001.tif", "p.tif1_5002.tif"}));
    QFile kept(temp.file("p.tif1_4999.tif"));
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("someone else's"));

    files.random = [] { return 0.5; };
    EXPECT_THROW(files.write(box, "p.tif", 1), AppError) << "no free name is an error, not a loop";
}

namespace {

// A shown basket-like list of rows a to e, each with its own tag and sub-items.
struct ShownList {
    ListView list;
    ShownList() {
        list.AddColumn("File Name");
        list.AddColumn("Size");
        const char* sizes[] = {"3", "1", "5", "2", "4"};
        int i = 0;
        for (const char* name : {"a", "b", "c", "d", "e"}) {
            const int r = list.AddItem(QString::fromLatin1(name), name, name);
            list.setTag(r, QStringLiteral("/t/") + name);
            list.setSubItem(r, 1, QString::fromLatin1(sizes[i++]));
            list.setSubItem(r, 4, QStringLiteral("/s/") + name);
        }
        list.resize(300, 300);
        list.show();
    }
    QPoint centre(int row) const {
        QTreeView* view = list.reportView();
        return view->viewport()->mapTo(&list,
                                       view->visualRect(view->model()->index(row - 1, 0)).center());
    }
    QString order() const {
        QString out;
        for (int r = 1; r <= list.Count(); ++r)
            out += list.Text(r);
        return out;
    }
};

} // namespace

TEST(BasketList, MovingTheSelectionOntoARow) {
    struct Case {
        const char* name;
        std::vector<int> selected;
        int current;
        int target;
        const char* expected;
    };
    const Case cases[] = {
        {"onto a row below: after it", {2, 3}, 2, 5, "adebc"},
        {"onto a row above: before it", {3, 4}, 3, 1, "cdabe"},
        {"onto the selection itself", {2, 3}, 2, 2, "abcde"},
        {"onto the selection, current last", {2, 3}, 3, 2, "abcde"},
        {"scattered rows keep their order", {1, 3}, 1, 4, "bdace"},
        {"onto no row", {2}, 2, 0, "abcde"},
    };
    for (const Case& c : cases) {
        ShownList l;
        l.list.setSelectedItem(c.current);
        for (int r : c.selected)
            l.list.setSelected(r, true);
        l.list.setDropHighlight(c.target);
        const QPoint at = c.target ? l.centre(c.target) : QPoint(5, l.list.height() - 3);
        subMoveSelectedItems(l.list, at.x(), at.y());
        EXPECT_EQ(l.order().toStdString(), c.expected) << c.name;
        EXPECT_EQ(int(l.list.SelectedRows().size()), int(c.selected.size())) << c.name;
        for (int r : l.list.SelectedRows())
            EXPECT_EQ(l.list.Tag(r), "/t/" + l.list.Text(r)) << c.name;
        if (c.target)
            EXPECT_EQ(l.list.DropHighlight(), 0) << c.name;
    }
}

TEST(BasketList, ColumnSortTogglesOnTheSameColumnAndStartsAscendingOnANew) {
    ShownList l;
    struct Step {
        int column;
        const char* expected;
    };
    const Step steps[] = {{1, "abcde"}, {1, "edcba"}, {2, "bdaec"}, {2, "ceadb"}, {1, "abcde"}};
    for (const Step& s : steps) {
        subSortListViewByColumn(l.list, s.column);
        EXPECT_EQ(l.order().toStdString(), s.expected) << "column " << s.column;
        EXPECT_TRUE(l.list.Sorted());
    }
    ListView::Row late;
    late.text = "bb";
    l.list.AddRow(late);
    EXPECT_EQ(l.order().toStdString(), "abbbcde") << "a row added while sorted lands in place";
}

TEST(BasketList, RowsOfTheBatchAndRemovingTheSelection) {
    ShownList l;
    l.list.setSelected(2, true);
    l.list.setSelected(4, true);
    subRemoveSelectedItems(l.list);
    EXPECT_EQ(l.order(), "ace");
    const auto rows = fncBasketRowsOf(l.list);
    ASSERT_EQ(rows->count(), 3);
    EXPECT_EQ(rows->row(1).Text, "c");
    EXPECT_EQ(rows->row(1).Tag, "/t/c");
    EXPECT_EQ(rows->row(1).SubItems, (std::array<QString, 4>{"5", "", "", "/s/c"}));
    l.list.Clear();
    EXPECT_EQ(fncBasketRowsOf(l.list)->count(), 0);
}

// A page far larger than the box is averaged down before the bicubic redraw; the
// thumbnail still fills the box with the page fitted and centred on white.
TEST_F(BasketAdderTest, ALargePageGivesAFittedThumbnail) {
    const QString big = temp.file("big.tif");
    ImageBox writer;
    writer.setImage(splitPicture(1200, 800, Qt::red, Qt::blue));
    writer.AppendPageTiff(big);
    writer.AppendPageTiff(big);
    ASSERT_TRUE(adder.add({source(big, "2")}, 1, BasketAdder::Mode::Command));
    ASSERT_EQ(thumbnails.size(), 2u);
    const QImage& t = thumbnails[0];
    EXPECT_EQ(t.size(), QSize(40, 40));
    auto near = [](QColor a, QColor b) {
        return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
               std::abs(a.blue() - b.blue()) < 40;
    };
    EXPECT_TRUE(near(t.pixelColor(20, 1), Qt::white)) << "margin above the fitted page";
    EXPECT_TRUE(near(t.pixelColor(34, 9), Qt::red));
    EXPECT_TRUE(near(t.pixelColor(4, 30), Qt::blue));
    EXPECT_EQ(rows[0].SubItem(1), "1200 X 800");
}
