#include "controls/dialogs/FakeDialogBackend.h"
#include "core/setup/modSetup.h"
#include "export/SaveDialogController.h"
#include "export/frmSaveDialogExtensionAllFormats.h"
#include "export/modSaveDialogExtensionAllFormats.h"
#include "export/modSavePreview.h"
#include "tests/common/TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// A panel stand-in that remembers the frames it was told to show.
class FramesSeen : public SaveOptionsFrames {
public:
    void subSetVisibility() override {
        shown = saveframe::None;
        ++hides;
    }
    void showFrames(unsigned frames) override { shown |= frames; }
    unsigned shown = 0xFFFF;
    int hides = 0;
};

void touch(const QString& path) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

} // namespace

TEST(SaveDialogRules, ExtensionRule) {
    const struct {
        const char* path;
        bool multiPage;
        const char* result;
    } rows[] = {
        {"/d/bare", false, "/d/bare.tif"},
        {"/d/notes.txt", false, "/d/notes.txt.tif"},
        {"/d/art.psd", false, "/d/art.psd"},
        {"/d/UPPER.TIF", false, "/d/UPPER.TIF"},
        {"/d/x.JPEG", false, "/d/x.JPEG"},
        {"/d/my.photo", false, "/d/my.photo.tif"},
        {"/d/phone.wap", false, "/d/phone.wap"},
        {"/d/pages.png", true, "/d/pages.png.tif"},
        {"/d/pages.pdf", true, "/d/pages.pdf"},
        {"/d/pages.tiff", true, "/d/pages.tiff"},
        {"/d/pages", true, "/d/pages.tif"},
    };
    for (const auto& r : rows)
        EXPECT_EQ(SaveDialogController::fncApplyExtensionRule(r.path, r.multiPage), r.result)
            << r.path << (r.multiPage ? " (multi-page)" : "");
}

TEST(SaveDialogRules, NameCutOnTypeChange) {
    const struct {
        const char* name;
        const char* cut;
    } rows[] = {{"holiday.bmp", "holiday"}, {"holiday.jpeg", "holiday"}, {"x.tif", "x"},
                {"my.photo", "my.photo"},   {"abcd", "abcd"},            {"a.b", "a.b"},
                {"plain", "plain"},         {"", ""}};
    for (const auto& r : rows)
        EXPECT_EQ(SaveDialogController::fncCutName(r.name), r.cut) << r.name;
}

TEST(SaveDialogRules, PatternsIndexesAndFramesOfTheSaveFilter) {
    const SaveDialogController rules(SavePreviewFilter(), false, false, nullptr);
    const struct {
        int entry;
        const char* pattern;
        unsigned frames;
    } rows[] = {
        {0, "*.bmp", saveframe::None},
        {1, "*.tif", saveframe::Tiff | saveframe::TiffOnly},
        {3, "*.gif", saveframe::GIF},
        {4, "*.jpg", saveframe::JPG},
        {5, "*.jp2", saveframe::JPG2000},
        {6, "*.png", saveframe::PNG},
        {9, "*.pdf", saveframe::Tiff},
        {10, "*.wbm", saveframe::None},
        {11, "", saveframe::None},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(rules.fncGetSelectedPattern(r.entry), r.pattern) << r.entry;
        EXPECT_EQ(SaveDialogController::framesForPattern(r.pattern), r.frames) << r.entry;
    }
    const struct {
        const char* pattern;
        unsigned frames;
    } others[] = {{"*.JPE", saveframe::JPG}, {"*.jpc", saveframe::JPG2000},
                  {"*.pgm", saveframe::PNM}, {"*.TIFF", saveframe::Tiff | saveframe::TiffOnly},
                  {"*.exe", saveframe::None}};
    for (const auto& o : others)
        EXPECT_EQ(SaveDialogController::framesForPattern(o.pattern), o.frames) << o.pattern;

    // The index is that of the first entry whose pattern piece starts with the
    // name's pattern; "*.tiff" starts none ("*.tif;*.tiff" starts with "*.tif;").
    const struct {
        const char* name;
        int index;
    } names[] = {{"a.gif", 4}, {"A.GIF", 4}, {"a.tif", 2},  {"a.tiff", 0}, {"a.jpg", 5},
                 {"a.bmp", 1}, {"a.pdf", 10}, {"a.wbm", 11}, {"a.xyz", 0}};
    for (const auto& n : names)
        EXPECT_EQ(rules.fncFilterIndexFromName(n.name), n.index) << n.name;
}

TEST(SaveDialogRules, FilterCopyAndTrimAtNull) {
    const SaveDialogController shortFilter("A|*.a", false, false, nullptr);
    EXPECT_EQ(shortFilter.filterCopy().size(), 260);
    EXPECT_EQ(shortFilter.filterCopy().left(6), QString("A") + QChar(0) + "*.a" + QChar(0));
    const QString longFilter = QString(300, 'x') + "|*.x";
    const SaveDialogController longRules(longFilter, false, false, nullptr);
    EXPECT_EQ(longRules.filterCopy().size(), longFilter.size() + 2);
    EXPECT_EQ(longRules.filterCopy().right(2), QString(2, QChar(0)));

    EXPECT_EQ(SaveDialogController::fncTrimAtNull(QString("abc") + QChar(0) + "def"), "abc");
    EXPECT_EQ(SaveDialogController::fncTrimAtNull("abc"), "abc");
    EXPECT_EQ(SaveDialogController::fncTrimAtNull(QString(QChar(0))), "");
}

TEST(SaveDialogRules, TypeChangeShowsFramesSetsSuffixAndKeepsTheName) {
    FramesSeen panel;
    SaveDialogController controller(SavePreviewFilter(), false, false, &panel);
    FileDialogRequest request;
    FakeFileDialog dialog(request);
    dialog.hook = &controller;
    dialog.typeName("holiday.bmp");
    EXPECT_EQ(dialog.defaultSuffix, "") << "no default before the first type change";

    dialog.chooseType(4);
    EXPECT_EQ(dialog.name, "holiday");
    EXPECT_EQ(dialog.defaultSuffix, "jpg");
    EXPECT_EQ(panel.shown, saveframe::JPG);
    EXPECT_EQ(controller.selectedPattern(), "*.jpg");

    dialog.chooseType(0);
    EXPECT_EQ(panel.shown, saveframe::None);
    EXPECT_EQ(dialog.defaultSuffix, "bmp");
    EXPECT_EQ(panel.hides, 2);

    // An entry with no pattern keeps the last default.
    dialog.chooseType(11);
    EXPECT_EQ(dialog.defaultSuffix, "bmp");
}

TEST(SaveDialogRules, FolderAndSelectionSetTheName) {
    test::TempAppFolder folder;
    touch(folder.file("chosen.png"));
    QDir().mkpath(folder.file("sub"));
    SaveDialogController controller(SavePreviewFilter(), false, false, nullptr);
    FakeFileDialog dialog(FileDialogRequest{});
    dialog.hook = &controller;
    dialog.typeName("typed");
    dialog.selectItem(folder.file("sub"));
    EXPECT_EQ(dialog.name, "typed") << "a folder does not become the name";
    dialog.selectItem(folder.file("chosen.png"));
    EXPECT_EQ(dialog.name, "chosen.png");
    dialog.enterFolder();
    EXPECT_EQ(dialog.name, "");
}

namespace {

class ShowFileDialogExTest : public ::testing::Test {
protected:
    void SetUp() override { picbasket::Setup = fncSetupDefaults(); }
    void TearDown() override { picbasket::Setup = fncSetupDefaults(); }

    QString show(bool multiPage = false, const QString& name = {}) {
        index = 0;
        return fncShowFileDialogEx(name, SavePreviewFilter(), index, "Save it", false, &panel,
                                   multiPage);
    }

    test::TempAppFolder folder;
    test::MessageRecorder messages;
    FakeDialogBackend dialogs;
    frmSaveDialogExtensionAllFormats panel;
    int32_t index = 0;
};

} // namespace

TEST_F(ShowFileDialogExTest, ABareNameComesBackAsTiffAndTheRequestCarriesThePanel) {
    dialogs.actInFileDialog([](FakeFileDialog& d) { d.typeName("scan"); });
    dialogs.chooseTyped(folder.path());
    EXPECT_EQ(show(), folder.file("scan.tif"));
    ASSERT_EQ(dialogs.fileRequests().size(), 1u);
    const FileDialogRequest& request = dialogs.fileRequests()[0];
    EXPECT_EQ(request.kind, FileDialogRequest::Kind::Save);
    EXPECT_EQ(request.title, "Save it");
    EXPECT_EQ(request.selectedFilter, 0);
    EXPECT_EQ(request.nameFilters.size(), 11);
    EXPECT_EQ(request.panel, &panel);
    EXPECT_NE(request.hook, nullptr);
    EXPECT_TRUE(messages.shown().empty());
}

TEST_F(ShowFileDialogExTest, TheTypedNameTakesTheChosenTypesSuffix) {
    dialogs.actInFileDialog([](FakeFileDialog& d) {
        d.typeName("holiday.bmp");
        d.chooseType(4);
    });
    dialogs.chooseTyped(folder.path());
    EXPECT_EQ(show(), folder.file("holiday.jpg"));
    EXPECT_FALSE(panel.picFrameJPG->isHidden());
    EXPECT_TRUE(panel.picFrameGIF->isHidden());
}

TEST_F(ShowFileDialogExTest, CancelGivesAnEmptyName) {
    dialogs.cancelFile();
    EXPECT_EQ(show(), "");
}

TEST_F(ShowFileDialogExTest, ANameGivesItsFilterIndex) {
    dialogs.cancelFile();
    show(false, "photo.gif");
    EXPECT_EQ(index, 4);
    EXPECT_EQ(dialogs.fileRequests()[0].selectedFilter, 3);
    EXPECT_EQ(dialogs.fileRequests()[0].initialName, "photo.gif");
}

// The question covers the name that is finally written, ".tif" completion included;
// "no" keeps the dialog open for another choice.
TEST_F(ShowFileDialogExTest, AsksOnceBeforeReplacingTheCompletedName) {
    touch(folder.file("scan.tif"));
    messages.answerNext(mb::No);
    messages.answerNext(mb::Yes);
    dialogs.chooseFile(folder.file("scan"));
    dialogs.chooseFile(folder.file("scan"));
    EXPECT_EQ(show(), folder.file("scan.tif"));
    ASSERT_EQ(messages.shown().size(), 2u);
    EXPECT_EQ(dialogs.refusedConfirmations(), 1);
    EXPECT_EQ(messages.shown()[0].text, "scan.tif already exists.\r\nDo you want to replace it?");
    EXPECT_EQ(messages.shown()[0].style, mb::YesNo | mb::Exclamation | mb::DefaultButton2);

    dialogs.chooseFile(folder.file("fresh.png"));
    EXPECT_EQ(show(), folder.file("fresh.png"));
    EXPECT_EQ(messages.shown().size(), 2u) << "a new file is not asked about";
}

TEST_F(ShowFileDialogExTest, PdfShowsOnlyTheAppendModesOfMultiPageSaves) {
    for (const bool multiPage : {false, true}) {
        dialogs.actInFileDialog([](FakeFileDialog& d) { d.chooseType(9); });
        dialogs.cancelFile();
        show(multiPage);
        EXPECT_FALSE(panel.picFrameTiff->isHidden());
        EXPECT_TRUE(panel.picFrameTiffOnly->isHidden());
        EXPECT_EQ(panel.picAppendMode->isHidden(), !multiPage);
    }
}
