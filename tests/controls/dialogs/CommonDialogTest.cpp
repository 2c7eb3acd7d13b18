#include "controls/dialogs/FakeDialogBackend.h"
#include "controls/dialogs/modCommonDialog.h"

#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// Sets the record the way every caller does before a file dialog.
void prepare(const char* title, const char* filter) {
    CommonDialog.DialogTitle = QString::fromLatin1(title);
    CommonDialog.FileName.clear();
    CommonDialog.Filter = QString::fromLatin1(filter);
    CommonDialog.Flags = 5;
}

class CommonDialogTest : public ::testing::Test {
protected:
    void SetUp() override { CommonDialog = {}; }
    void TearDown() override { CommonDialog = {}; }
    FakeDialogBackend dialogs;
};

} // namespace

TEST(CommonDialogFilter, ConversionTable) {
    const struct {
        const char* name;
        const char* filter;
        QStringList entries;
    } rows[] = {
        {"one pair, no trailing bar", "Text files|*.txt", {"Text files (*.txt)"}},
        {"trailing bar", "Text files|*.txt|", {"Text files (*.txt)"}},
        {"two pairs, several patterns",
         "Images|*.jpg;*.png|All files|*.*",
         {"Images (*.jpg *.png)", "All files (*.*)"}},
        {"blanks around patterns", "Images| *.jpg ; *.png ;", {"Images (*.jpg *.png)"}},
        {"description carrying its patterns", "Basket (*.ibf)|*.ibf", {"Basket (*.ibf) (*.ibf)"}},
        {"description without pattern ends the list", "A|*.a|B", {"A (*.a)"}},
        {"empty element ends the list", "A|*.a||B|*.b", {"A (*.a)"}},
        {"empty filter", "", {}},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(fncFilterToNameFilters(QString::fromLatin1(r.filter)), r.entries) << r.name;
    }
}

TEST_F(CommonDialogTest, ConfirmFillsTheRecord) {
    const QString longPath = QStringLiteral("/tmp/") + QString(300, QLatin1Char('d')) +
                             QStringLiteral("/") + QString(200, QLatin1Char('f')) +
                             QStringLiteral(" .tbf ");
    dialogs.chooseFile(longPath, 1);
    prepare("Open task basket", "Task basket|*.tbf|All files|*.*");
    fncShowOpen();
    ASSERT_EQ(dialogs.fileRequests().size(), 1u);
    const FileDialogRequest& request = dialogs.fileRequests()[0];
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::Open);
    EXPECT_EQ(request.title, QStringLiteral("Open task basket"));
    EXPECT_EQ(request.selectedFilter, 0) << "FilterIndex 0 selects the first filter";
    EXPECT_EQ(request.flags, 5);
    EXPECT_EQ(CommonDialog.FileName, longPath) << "long names and blanks come back whole";
    EXPECT_EQ(CommonDialog.FileTitle, QString(200, QLatin1Char('f')) + QStringLiteral(" .tbf "));
    EXPECT_EQ(CommonDialog.FilterIndex, 2);
}

TEST_F(CommonDialogTest, CancelLeavesTheRecordAlone) {
    CommonDialog.FilterIndex = 2;
    CommonDialog.FileTitle = QStringLiteral("earlier.jpg");
    prepare("Save as", "JPEG|*.jpg|PNG|*.png");
    dialogs.cancelFile();
    fncShowSave();
    ASSERT_EQ(dialogs.fileRequests().size(), 1u);
    EXPECT_EQ(dialogs.fileRequests()[0].kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(dialogs.fileRequests()[0].selectedFilter, 1);
    EXPECT_EQ(CommonDialog.FileName, QString());
    EXPECT_EQ(CommonDialog.FileTitle, QStringLiteral("earlier.jpg"));
    EXPECT_EQ(CommonDialog.FilterIndex, 2);
}

TEST_F(CommonDialogTest, FilterIndexCarriesAndClamps) {
    prepare("Open", "A|*.a|B|*.b|C|*.c");
    dialogs.chooseFile(QStringLiteral("/x/one.b"), 1);
    fncShowOpen();
    EXPECT_EQ(CommonDialog.FilterIndex, 2);

    prepare("Open other", "X|*.x|Y|*.y");
    dialogs.chooseFile(QStringLiteral("/x/two.y"), 1);
    fncShowOpen();
    EXPECT_EQ(dialogs.fileRequests()[1].selectedFilter, 1) << "second filter carried over";

    CommonDialog.FilterIndex = 3;
    prepare("Open", "A|*.a|B|*.b|C|*.c");
    dialogs.chooseFile(QStringLiteral("/x/three.c"), 2);
    fncShowOpen();
    prepare("Save", "Only|*.o");
    dialogs.chooseFile(QStringLiteral("/x/four.o"), 0);
    fncShowSave();
    EXPECT_EQ(dialogs.fileRequests()[3].selectedFilter, 0) << "index 3 clamped to a list of one";
    EXPECT_EQ(CommonDialog.FilterIndex, 1);

    CommonDialog.FilterIndex = -4;
    prepare("Open", "A|*.a|B|*.b");
    fncShowOpen();
    EXPECT_EQ(dialogs.fileRequests()[4].selectedFilter, 0);
}

TEST_F(CommonDialogTest, EmptyFilterKeepsTheIndex) {
    CommonDialog.FilterIndex = 2;
    prepare("Open", "");
    dialogs.chooseFile(QStringLiteral("/x/any"), 0);
    fncShowOpen();
    EXPECT_TRUE(dialogs.fileRequests()[0].nameFilters.isEmpty());
    EXPECT_EQ(CommonDialog.FileName, QStringLiteral("/x/any"));
    EXPECT_EQ(CommonDialog.FilterIndex, 2);
}
