#include "controls/dialogs/FakeDialogBackend.h"
#include "controls/dialogs/modBrowseForFolder.h"

#include "core/Globals.h"
#include "tests/common/TestSupport.h"

#include <QWidget>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// A backend whose folder dialog fails.
class FailingFolderBackend : public FakeDialogBackend {
public:
    QString showFolderDialog(const FolderDialogRequest&) override {
        throw std::runtime_error("no folder dialog");
    }
};

} // namespace

TEST(BrowseForFolder, ChosenCancelledAndBlank) {
    FakeDialogBackend dialogs;
    QWidget owner;
    dialogs.chooseFolder(QStringLiteral("/home/me/out "));
    EXPECT_EQ(fncBrowseDestinationFolder(&owner, QStringLiteral("/home/me")),
              QStringLiteral("/home/me/out "))
        << "returned as it came";
    EXPECT_EQ(fncBrowseDestinationFolder(&owner, QString()), QString()) << "cancel";
    dialogs.chooseFolder(QStringLiteral("   "));
    EXPECT_EQ(fncBrowseDestinationFolder(&owner, QString()), QString()) << "blanks only";

    const auto& requests = dialogs.folderRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].title,
              QStringLiteral("Please select a destination folder to save all the files!"));
    EXPECT_EQ(requests[0].owner, &owner);
    EXPECT_EQ(requests[0].startFolder, QStringLiteral("/home/me"));
    EXPECT_EQ(requests[0].flags, 100);
    EXPECT_EQ(requests[1].startFolder, QString()) << "no start folder carried from a call before";
    EXPECT_EQ(CurrentActivity, QStringLiteral("Returning selected folder from the Browse dialog"));
}

TEST(BrowseForFolder, FailureIsReportedAndGivesEmpty) {
    test::ErrorRecorder errors;
    FailingFolderBackend dialogs;
    EXPECT_EQ(fncBrowseDestinationFolder(nullptr, QStringLiteral("/tmp")), QString());
    ASSERT_EQ(errors.reports().size(), 1u);
    EXPECT_EQ(errors.reports()[0].source, QStringLiteral("modBrowseForFolder.Folder_Browse"));
    EXPECT_EQ(errors.reports()[0].activity, QStringLiteral("Calling the Folder for Browse dialog"));
}
