#include "browser/modSaveOpenImageList.h"
#include "browser/BasketAdder.h"
#include "browser/clsFile.h"
#include "core/AppError.h"
#include "core/AppPaths.h"
#include "editing/modTaskBasketFile.h"
#include "engine/batch/BasketRows.h"
#include "engine/tasks/TaskRowList.h"
#include "platform/comctl/ImageList.h"
#include "platform/comctl/ListView.h"
#include "platform/comctl/ProgressBar.h"
#include "platform/imagebox/ImageBox.h"
#include "tests/common/TestSupport.h"
#include "tests/ui/browser/BasketFixture.h"
#include "tests/ui/browser/FolderFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace picbasket;
using namespace picbasket::test;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A basket of its own (a list, its thumbnails, an adder adding to both) beside the
// files a.jpg, b.png and the three-page scan.tif.
class BasketFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        QDir().mkpath(AppPaths::tempPageFolder());
        photo = temp.file("a.jpg");
        splitPicture(64, 48, Qt::red, Qt::blue).save(photo, "JPEG");
        other = temp.file("b.png");
        splitPicture(20, 10, Qt::green, Qt::white).save(other, "PNG");
        scan = temp.file("scan.tif");
        ASSERT_TRUE(writeScanTiff(scan));
        adder.addRow = [this](const BasketRow& row, const QImage& thumbnail) {
            const QString key = QString::number(thumbnails.Count() + 1);
            thumbnails.Add(thumbnail, key);
            ListView::Row added{row.Text, row.Tag, {}, key, key};
            for (int s = 1; s <= 4; ++s)
                added.subItems << row.SubItem(s);
            return basket.AddRow(added);
        };
    }

    void addRow(const QString& text, const QString& tag, const QString& source) {
        basket.AddRow({text, tag, {"1 X 1", "1 KB", "Type", source}, {}, {}});
    }

    QStringList texts() const {
        QStringList out;
        for (int r = 1; r <= basket.Count(); ++r)
            out << basket.Text(r);
        return out;
    }

    QStringList pageFiles() const {
        return QDir(AppPaths::tempPageFolder()).entryList(QDir::Files, QDir::Name);
    }

    bool open(const QString& path) {
        return fncOpenImageBasket(path, basket, thumbnails, adder, bar);
    }

    TempAppFolder temp;
    QString photo, other, scan;
    ListView basket;
    ImageList thumbnails;
    BasketAdder adder;
    ProgressBar bar;
    ErrorRecorder errors;
};

TEST_F(BasketFilesTest, SavesEachSourceOnceInBasketOrder) {
    addRow("a", photo, photo);
    for (int p = 1; p <= 3; ++p)
        addRow("scan" + QString::number(p), temp.file("temp/scan.tif%1_7.tif").arg(p), scan);
    addRow("a", photo, photo);
    QString path = temp.file("list");
    ASSERT_TRUE(fncSaveImageBasket(path, basket));
    EXPECT_EQ(path, temp.file("list.ibf"));
    EXPECT_EQ(bytesOf(path), ("\"" + photo + "\"\r\n\"" + scan + "\"\r\n").toUtf8());
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(BasketFilesTest, SavedNameEndsInOneEnding) {
    addRow("a", photo, photo);
    const struct {
        const char* typed;
        const char* saved;
    } cases[] = {
        {"plain", "plain.ibf"},
        {"upper.IBF", "upper.IBF"},
        {"lower.ibf", "lower.ibf"},
        {"other.txt", "other.txt.ibf"},
    };
    for (const auto& c : cases) {
        QString path = temp.file(c.typed);
        ASSERT_TRUE(fncSaveImageBasket(path, basket)) << c.typed;
        EXPECT_EQ(path, temp.file(c.saved)) << c.typed;
        EXPECT_TRUE(QFileInfo::exists(path)) << c.typed;
    }
}

TEST_F(BasketFilesTest, EmptyBasketOrUnwritablePathSavesNothing) {
    QString path = temp.file("empty.ibf");
    EXPECT_FALSE(fncSaveImageBasket(path, basket));
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_TRUE(errors.reports().empty());

    addRow("a", photo, photo);
    for (QString unwritable : {temp.file("no folder/list.ibf"), temp.path() + "/.ibf"}) {
        QDir().mkpath(temp.path() + "/.ibf");
        EXPECT_FALSE(fncSaveImageBasket(unwritable, basket)) << unwritable.toStdString();
    }
    ASSERT_EQ(errors.reports().size(), 2u);
    EXPECT_EQ(errors.reports()[0].source, "modSaveOpenImageList.fncSaveImageBasket");
}

// The save's own file reopens as the same rows, named by their whole file names (pages
// by the file name and the page number), with new page files for the pages; a listed
// file deleted meanwhile is skipped and named in one message after the open.
TEST_F(BasketFilesTest, ReopenedBasketIsAddedAgainAndSkipsMissingFiles) {
    const QString list = temp.file("list.ibf");
    writeBytes(list, ("\"" + photo + "\"\r\n\"" + other + "\"\r\n\"" + scan + "\"\r\n").toUtf8());
    addRow("old", photo, photo);
    ASSERT_TRUE(open(list));
    EXPECT_EQ(texts(), (QStringList{"a.jpg", "b.png", "scan.tif1", "scan.tif2", "scan.tif3"}));
    EXPECT_EQ(thumbnails.Count(), 5);
    const QStringList firstPages = pageFiles();
    EXPECT_EQ(firstPages.size(), 3);
    for (int r = 3; r <= 5; ++r) {
        EXPECT_EQ(basket.SubItem(r, 4), scan);
        EXPECT_TRUE(basket.Tag(r).startsWith(AppPaths::tempPageFolder() + "/scan.tif"));
        ImageBox source, page;
        source.setPageIndex(r - 2);
        source.LoadFromFile(scan);
        page.LoadFromFile(basket.Tag(r));
        EXPECT_EQ(page.image().size(), scanPages()[size_t(r - 3)].size());
        EXPECT_EQ(page.image(), source.image()) << "page " << r - 2 << " is exact";
    }
    EXPECT_EQ(basket.SubItem(1, 1), "64 X 48");
    EXPECT_EQ(basket.Tag(1), photo);

    ASSERT_TRUE(QFile::remove(other));
    MessageRecorder messages;
    ASSERT_TRUE(open(list));
    EXPECT_EQ(texts(), (QStringList{"a.jpg", "scan.tif1", "scan.tif2", "scan.tif3"}));
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, joinLines({"This file was not added to the basket:",
                                                   other + ": The file no longer exists."}));
    EXPECT_EQ(pageFiles().size(), 6);
    EXPECT_NE(basket.Tag(2), temp.file("temp/" + firstPages[0]));
    EXPECT_TRUE(errors.reports().empty());
    EXPECT_TRUE(bar.isHidden());
}

TEST_F(BasketFilesTest, DataListReadsPathsWithTheirDataText) {
    const QString list = temp.file("list.ibd");
    writeBytes(list, ("\"" + other + "\",\"anything\"\n\"" + photo + "\",\"\"\n").toUtf8());
    ASSERT_TRUE(open(list));
    EXPECT_EQ(texts(), (QStringList{"b.png", "a.jpg"}));
}

TEST_F(BasketFilesTest, QuotedPathsReadBack) {
    const QString odd = temp.file("it's \"x\", y.png");
    ASSERT_TRUE(QFile::copy(other, odd));
    addRow("x", odd, odd);
    QString path = temp.file("odd");
    ASSERT_TRUE(fncSaveImageBasket(path, basket));
    ASSERT_TRUE(open(path));
    ASSERT_EQ(basket.Count(), 1);
    EXPECT_EQ(basket.Tag(1), odd);
    EXPECT_EQ(basket.Text(1), "it's \"x\", y.png");
}

TEST_F(BasketFilesTest, CorruptListFailsAndKeepsTheBasket) {
    const QString good = "\"" + photo + "\"\r\n";
    const struct {
        const char* name;
        const char* file;
        QByteArray bytes; // empty: the file is not written
    } cases[] = {
        {"missing file", "missing.ibf", {}},
        {"another ending", "list.txt", good.toUtf8()},
        {"unquoted path", "bare.ibf", (good + photo + "\r\n").toUtf8()},
        {"open quote", "open.ibf", (good + "\"" + photo + "\r\n").toUtf8()},
        {"two fields in an image list", "two.ibf", (good + "\"a\",\"b\"\r\n").toUtf8()},
        {"one field in a data list", "one.ibd", good.toUtf8()},
    };
    addRow("keep", photo, photo);
    for (const auto& c : cases) {
        const QString path = temp.file(c.file);
        if (!c.bytes.isEmpty())
            writeBytes(path, c.bytes);
        EXPECT_FALSE(open(path)) << c.name;
        EXPECT_EQ(texts(), QStringList{"keep"}) << c.name;
    }
    EXPECT_EQ(errors.reports().size(), std::size(cases));
    EXPECT_EQ(errors.reports()[0].source, "modSaveOpenImageList.fncOpenImageBasket");
    EXPECT_TRUE(pageFiles().isEmpty());
}

// The task basket: the two visible lists and the executable rows.
class TaskBasketFileTest : public ::testing::Test {
protected:
    static typTask task(TaskType type, const QString& key, std::initializer_list<QString> params) {
        typTask t;
        t.TaskID = int32_t(type);
        t.TaskKey = key;
        int k = 1;
        for (const QString& p : params)
            t.Param[size_t(k++)] = p;
        return t;
    }

    QStringList names(const ListView& list) const {
        QStringList out;
        for (int r = 1; r <= list.Count(); ++r)
            out << list.Text(r) + "/" + list.SmallIconKey(r);
        return out;
    }

    bool open(const QString& path) { return fncOpenTaskBasket(path, lvEdit, lvEditPreview, rows); }

    TempAppFolder temp;
    ListView lvEdit;
    ListView lvEditPreview;
    TaskRowList rows;
    ErrorRecorder errors;
};

TEST_F(TaskBasketFileTest, TwoTasksRoundTripByteExact) {
    rows.addTask(task(TaskType::Rotate, "rotate", {"True", "90", "16777215"}));
    typTask drawn = task(TaskType::Text, "text",
                         {"True", "False", "True", "0", "1", "Sans", "12", "False", "False",
                          "False", "0", "-2147483643", "0", "9", "Say \"hi\", then go", "3", "4"});
    rows.addTask(drawn);
    QString path = temp.file("tasks");
    ASSERT_TRUE(fncSaveTaskBasket(path, rows));
    EXPECT_EQ(path, temp.file("tasks.tbf"));
    const QByteArray expected =
        "\"2\",\"rotate\",\"True\",\"90\",\"16777215\"" + QByteArray(",\"\"").repeated(14) +
        "\r\n\"10\",\"text\",\"True\",\"False\",\"True\",\"0\",\"1\",\"Sans\",\"12\",\"False\","
        "\"False\",\"False\",\"0\",\"-2147483643\",\"0\",\"9\",\"Say \"\"hi\"\", then go\",\"3\","
        "\"4\"\r\n";
    EXPECT_EQ(bytesOf(path), expected);

    lvEdit.AddItem("old");
    lvEditPreview.AddItem("old");
    rows.clear();
    ASSERT_TRUE(open(path));
    EXPECT_EQ(names(lvEdit), (QStringList{"Rotate/rotate", "Text/text"}));
    EXPECT_EQ(names(lvEditPreview), names(lvEdit));
    ASSERT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.row(1).SubItems[15], "Say \"hi\", then go");
    QString again = temp.file("again.TBF");
    ASSERT_TRUE(fncSaveTaskBasket(again, rows));
    EXPECT_EQ(again, temp.file("again.TBF"));
    EXPECT_EQ(bytesOf(again), expected);
    EXPECT_TRUE(errors.reports().empty());
}

TEST_F(TaskBasketFileTest, EmptyTaskBasketSavesNothing) {
    QString path = temp.file("none.tbf");
    EXPECT_FALSE(fncSaveTaskBasket(path, rows));
    EXPECT_FALSE(QFileInfo::exists(path));
    rows.addTask(task(TaskType::Invert, "invert", {}));
    QString unwritable = temp.file("no folder/x");
    EXPECT_FALSE(fncSaveTaskBasket(unwritable, rows));
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].source, "modSaveOpenImageList.fncSaveTaskBasket");
}

TEST_F(TaskBasketFileTest, CorruptTaskBasketFailsAndKeepsTheLists) {
    const QByteArray empties = QByteArray(",\"\"").repeated(17);
    const QByteArray good = "\"11\",\"invert\"" + empties + "\r\n";
    const struct {
        const char* name;
        QByteArray bytes; // empty: no file
    } cases[] = {
        {"missing file", {}},
        {"18 fields", good + "\"11\",\"invert\"" + QByteArray(",\"\"").repeated(16) + "\r\n"},
        {"20 fields", good + "\"11\",\"invert\"" + QByteArray(",\"\"").repeated(18) + "\r\n"},
        {"task 0", good + "\"0\",\"nothing\"" + empties + "\r\n"},
        {"task 16 (red-eye)", good + "\"16\",\"redeye\"" + empties + "\r\n"},
        {"no number", good + "\"x\",\"invert\"" + empties + "\r\n"},
        {"malformed", good + "\"11,\"invert\"" + empties + "\r\n"},
    };
    rows.addTask(task(TaskType::Flip, "flip", {"0"}));
    lvEdit.AddItem("Orientation", {}, "flip");
    lvEditPreview.AddItem("Orientation", {}, "flip");
    int n = 0;
    for (const auto& c : cases) {
        const QString path = temp.file(QString("bad%1.tbf").arg(n++));
        if (!c.bytes.isEmpty())
            writeBytes(path, c.bytes);
        EXPECT_FALSE(open(path)) << c.name;
        EXPECT_EQ(rows.rowCount(), 1) << c.name;
        EXPECT_EQ(names(lvEdit), QStringList{"Orientation/flip"}) << c.name;
        EXPECT_EQ(lvEditPreview.Count(), 1) << c.name;
    }
    EXPECT_EQ(errors.reports().size(), std::size(cases));
    EXPECT_EQ(errors.reports()[0].source, "modSaveOpenImageList.fncOpenTaskBasket");

    // Blank lines and a task number with blanks around it are fine.
    const QString fine = temp.file("fine.tbf");
    writeBytes(fine, "\r\n" + good + "\n\" 2 \",\"rotate\"" + empties + "\n\n");
    ASSERT_TRUE(open(fine));
    EXPECT_EQ(names(lvEdit), (QStringList{"Negative/invert", "Rotate/rotate"}));
}

} // namespace

namespace {

// A write that is never committed leaves the old file as it was.
TEST(clsFile, UncommittedWriteKeepsTheOldFile) {
    TempAppFolder temp;
    const QString path = temp.file("old.ibf");
    writeBytes(path, "\"kept\"\r\n");
    {
        clsFile file;
        ASSERT_TRUE(file.OpenForWrite(path));
        file.writeline("new");
    }
    EXPECT_EQ(bytesOf(path), "\"kept\"\r\n");
    clsFile file;
    ASSERT_TRUE(file.OpenForRead(path));
    EXPECT_FALSE(file.fEof());
    EXPECT_EQ(file.readLine(), "kept");
    EXPECT_TRUE(file.fEof());
    EXPECT_THROW(file.readLine(), AppError);
    file.closefile();
    EXPECT_EQ(file.readLine(), "");
}

} // namespace

namespace {

// Every cut copy of a good basket file, and copies with one byte turned into a quote
// or a line end, either open whole or fail and keep the lists as they were.
class BasketFileCorrupt : public TaskBasketFileTest {};

std::vector<QByteArray> damagedCopies(const QByteArray& good) {
    std::vector<QByteArray> out;
    for (int n = 0; n < good.size(); ++n)
        out.push_back(good.left(n));
    for (int i = 0; i < good.size(); i += 3)
        for (char c : {'"', '\n', ','}) {
            QByteArray copy = good;
            copy[i] = c;
            out.push_back(copy);
        }
    return out;
}

TEST_F(BasketFileCorrupt, CutAndDamagedTaskBasketsNeverHalfOpen) {
    rows.addTask(task(TaskType::Rotate, "rotate", {"True", "90", "16777215"}));
    rows.addTask(task(TaskType::Text, "text", {"True", "False", "Say \"hi\", then go"}));
    QString path = temp.file("good.tbf");
    ASSERT_TRUE(fncSaveTaskBasket(path, rows));
    const QByteArray good = bytesOf(path);
    const QString damaged = temp.file("damaged.tbf");
    for (const QByteArray& bytes : damagedCopies(good)) {
        rows.clear();
        lvEdit.Clear();
        lvEditPreview.Clear();
        rows.addTask(task(TaskType::Flip, "flip", {"0"}));
        lvEdit.AddItem("Orientation", {}, "flip");
        lvEditPreview.AddItem("Orientation", {}, "flip");
        writeBytes(damaged, bytes);
        if (open(damaged)) {
            EXPECT_LE(rows.rowCount(), 2) << bytes.toStdString();
        } else {
            EXPECT_EQ(rows.rowCount(), 1) << bytes.toStdString();
            EXPECT_EQ(names(lvEdit), QStringList{"Orientation/flip"}) << bytes.toStdString();
        }
        EXPECT_EQ(lvEdit.Count(), rows.rowCount());
        EXPECT_EQ(lvEditPreview.Count(), rows.rowCount());
    }
}

class ImageBasketFileCorrupt : public BasketFilesTest {};

TEST_F(ImageBasketFileCorrupt, CutAndDamagedImageBasketsNeverHalfOpen) {
    const QByteArray good = ("\"" + photo + "\"\r\n\"" + other + "\"\r\n").toUtf8();
    const QString damaged = temp.file("damaged.ibf");
    for (const QByteArray& bytes : damagedCopies(good)) {
        basket.Clear();
        addRow("keep", photo, photo);
        writeBytes(damaged, bytes);
        if (!open(damaged))
            EXPECT_EQ(texts(), QStringList{"keep"}) << bytes.toStdString();
        else
            EXPECT_LE(basket.Count(), 3) << bytes.toStdString();
    }
}

} // namespace
