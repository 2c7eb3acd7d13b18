#include "controls/explorerbar/ExplorerBarModel.h"
#include "tests/common/TestSupport.h"

#include <QStringList>
#include <gtest/gtest.h>

using namespace picbasket;

namespace {

// A model whose silent failures and paint requests are recorded.
struct RecordedModel {
    ExplorerBarModel model;
    QStringList silent;
    int paints = 0;
    RecordedModel() {
        model.setSilentSink([this](const QString& text) { silent << text; });
        model.setChangedHandler([this] { ++paints; });
    }
};

QString shownText(const test::MessageRecorder& recorder, size_t i) {
    return recorder.shown().at(i).text;
}

std::shared_ptr<KeyedImageList> icons(const QStringList& keys) {
    auto list = std::make_shared<KeyedImageList>();
    for (const QString& key : keys)
        list->add(key, QImage(16, 16, QImage::Format_RGB32));
    return list;
}

} // namespace

TEST(ExplorerBarModel, GroupKeysFindTheFirstMatchBeforeTheFixedGroups) {
    RecordedModel r;
    r.model.AddGroup("Tools", "First");
    r.model.AddGroup("Tools", "Second");
    EXPECT_EQ(r.model.GetGroupsByKeyN("Tools"), 1);
    EXPECT_EQ(r.model.GetGroupsByKeyN("tools"), ExplorerBarModel::UnknownIndex);
    EXPECT_EQ(r.model.GetGroupsByKeyN("Special Group"), -1);
    EXPECT_EQ(r.model.GetGroupsByKeyN("Details Group"), -2);
    EXPECT_EQ(r.model.GetGroupsByKeyN(7), 7);

    r.model.SetGroupCaption("Tools", "Renamed");
    EXPECT_EQ(r.model.group(1).Caption, "Renamed");
    EXPECT_EQ(r.model.group(2).Caption, "Second");

    // A normal group keyed "Special Group" hides the special group from key lookups.
    r.model.AddGroup("Special Group", "Impostor");
    EXPECT_EQ(r.model.GetGroupsByKeyN("Special Group"), 3);
    r.model.AddItem("Special Group", "x", "X");
    EXPECT_EQ(r.model.group(3).ItemCount(), 1);
    EXPECT_EQ(r.model.specialGroup().ItemCount(), 0);
}

TEST(ExplorerBarModel, AddItemRecordsItsGroupAndRefusesOthersSilently) {
    test::MessageRecorder messages;
    RecordedModel r;
    r.model.AddGroup("G", "Group");
    r.model.AddItem("G", "a", "A");
    r.model.AddItem(1, "b", "B");
    r.model.AddItem("Special Group", "s", "S");
    EXPECT_EQ(r.model.group(1).item(1).GroupKey, "G");
    EXPECT_EQ(r.model.group(1).item(2).GroupKey, "1");
    EXPECT_EQ(r.model.group(1).item(2).Index, 2);
    EXPECT_EQ(r.model.specialGroup().item(1).GroupKey, "Special Group");
    const int paintsBefore = r.paints;

    r.model.AddItem("Details Group", "d", "D");
    r.model.AddItem("Nowhere", "n", "N");
    r.model.AddItem(0, "z", "Z");
    r.model.AddItem(9, "z", "Z");
    EXPECT_EQ(r.silent, QStringList({"Can't assign items to the Especified group",
                                     "Can't assign items to the Especified group",
                                     "The group '0' doesn't exist", "The group '9' doesn't exist"}));
    EXPECT_EQ(r.model.detailsGroup().ItemCount(), 0);
    EXPECT_EQ(r.model.group(1).ItemCount(), 2);
    EXPECT_EQ(r.paints, paintsBefore);
    EXPECT_TRUE(messages.shown().empty());
}

TEST(ExplorerBarModel, ClearGroupRestartsItemIndexesAtOne) {
    RecordedModel r;
    for (const char* key : {"a", "b", "c"})
        r.model.AddItem("Special Group", key, key);
    r.model.ClearGroup(-1);
    EXPECT_EQ(r.model.specialGroup().ItemCount(), 0);
    r.model.AddItem("Special Group", "d", "D");
    EXPECT_EQ(r.model.specialGroup().item(1).Index, 1);
    EXPECT_EQ(r.model.specialGroup().item(1).Key, "d");
}

TEST(ExplorerBarModel, ExpandGroupTogglesOrSets) {
    RecordedModel r;
    r.model.AddGroup("G", "Group");
    r.model.AddDetailsGroup("Details", "Title", "Text");
    r.model.ExpandGroup("G");
    EXPECT_FALSE(r.model.group(1).Expanded);
    r.model.ExpandGroup("G");
    EXPECT_TRUE(r.model.group(1).Expanded);
    r.model.ExpandGroup(1, false);
    EXPECT_FALSE(r.model.group(1).Expanded);
    r.model.ExpandGroup(1, false);
    EXPECT_FALSE(r.model.group(1).Expanded);
    r.model.ExpandGroup(-2, false);
    r.model.SetDetailsText("New text");
    EXPECT_TRUE(r.model.detailsGroup().Expanded);
    EXPECT_EQ(r.model.detailsGroup().Details, "New text");
}

// Indexes the host passes are checked; a bad one is reported and changes nothing.
TEST(ExplorerBarModel, BadGroupIndexesAreReportedNotFollowed) {
    test::MessageRecorder messages;
    RecordedModel r;
    r.model.AddGroup("G", "Group");
    QWidget panel;
    r.model.ClearGroup(5);
    r.model.ClearGroup(-2);
    r.model.ExpandGroup(0);
    r.model.ExpandGroup(-3);
    r.model.SetGroupChild(2, &panel);
    r.model.SetGroupChild(-2, &panel);
    r.model.SetGroupCaption(4, "X");
    ASSERT_EQ(messages.shown().size(), 7u);
    EXPECT_EQ(shownText(messages, 0), "An Error has ocurred!\r\nThe Group '5' doesn't exist");
    EXPECT_EQ(shownText(messages, 1), "An Error has ocurred!\r\nThe Group '-2' doesn't exist");
    EXPECT_EQ(shownText(messages, 6), "An Error has ocurred!\r\nThe Group '4' doesn't exist");
    EXPECT_EQ(messages.shown().at(0).title, "isExplorerBar");
    EXPECT_EQ(messages.shown().at(0).style, mb::Critical);
    EXPECT_FALSE(r.model.group(1).Child);
    EXPECT_EQ(r.model.group(1).Caption, "Group");

    // An unknown key leaves the caption alone without a word.
    r.model.SetGroupCaption("Nowhere", "X");
    EXPECT_EQ(messages.shown().size(), 7u);
}

TEST(ExplorerBarModel, ItemLookupsReportTheirFailures) {
    test::MessageRecorder messages;
    RecordedModel r;
    r.model.AddGroup("G", "Group");
    r.model.AddGroup("Empty", "Empty");
    r.model.AddItem("G", "a", "A");
    const struct {
        ExplorerRef group;
        ExplorerRef item;
        const char* message;
    } rows[] = {
        {"G", "missing", "GetItemIndex/String: Item specified not found!"},
        {"G", 2, "GetItemIndex/Integer: Item specified not found!"},
        {"G", 0, "GetItemIndex/Integer: Item specified not found!"},
        {"Empty", 1, "GetItemIndex: There are no Items in this group!"},
        {"Details Group", 1, "Details Group hasn't Child Items!"},
        {"Nowhere", 1, "The Group 'Nowhere' doesn't exist"},
        {7, 1, "The Group '7' doesn't exist"},
    };
    for (const auto& row : rows) {
        const size_t before = messages.shown().size();
        r.model.SetItemText(row.group, row.item, "changed");
        ASSERT_EQ(messages.shown().size(), before + 1) << row.message;
        EXPECT_EQ(shownText(messages, before),
                  QStringLiteral("An Error has ocurred!\r\n") + row.message);
    }
    EXPECT_EQ(r.model.group(1).item(1).Caption, "A");
    r.model.SetItemText("G", "a", "Renamed");
    EXPECT_EQ(r.model.group(1).item(1).Caption, "Renamed");
}

TEST(ExplorerBarModel, IconsResolveByKeyOrIndex) {
    test::MessageRecorder messages;
    RecordedModel r;
    r.model.AddItem("Special Group", "none", "No list yet", ExplorerRef("crop"));
    EXPECT_EQ(r.model.specialGroup().item(1).Icon, -1);
    EXPECT_EQ(r.silent.back(), "No Defined Imagelist");

    r.model.SetImageList(icons({"crop", "resize", "crop"}));
    EXPECT_EQ(r.model.GetIconIndex("resize"), 2);
    EXPECT_EQ(r.model.GetIconIndex("crop"), 1);
    EXPECT_EQ(r.model.GetIconIndex(3), 3);
    EXPECT_EQ(r.model.GetIconIndex(4), -1);
    EXPECT_EQ(r.silent.back(), "GetIconIndex: invalid Image Index!");
    EXPECT_TRUE(messages.shown().empty());
    EXPECT_EQ(r.model.GetIconIndex("Crop"), -1);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(shownText(messages, 0), "An Error has ocurred!\r\nGetIconIndex: icon with key Crop doesn't exist!");

    ExplorerRef icon("resize");
    r.model.SetItemIcon("Special Group", "none", icon);
    EXPECT_TRUE(icon.isIndex());
    EXPECT_EQ(icon.index(), 2);
    EXPECT_EQ(r.model.specialGroup().item(1).Icon, 2);
}

TEST(ExplorerBarModel, FixedGroupsAndUpdates) {
    RecordedModel r;
    EXPECT_EQ(r.model.GetControlVersion(), "1.91");
    EXPECT_FALSE(r.model.updatesEnabled());
    EXPECT_FALSE(r.model.specialGroup().Visible);
    r.model.AddItem("Special Group", "kept", "Kept");
    r.model.AddSpecialGroup("Tasks", QImage(), QImage());
    EXPECT_TRUE(r.model.specialGroup().Visible);
    EXPECT_EQ(r.model.specialGroup().Key, "Special Group");
    EXPECT_EQ(r.model.specialGroup().ItemCount(), 1);
    r.model.DisableUpdates(false);
    EXPECT_TRUE(r.model.updatesEnabled());
    r.model.DisableUpdates(true);
    EXPECT_FALSE(r.model.updatesEnabled());

    QString key;
    EXPECT_TRUE(r.model.GetGroupKeyByIndex(-1, key));
    EXPECT_EQ(key, "Special Group");
    EXPECT_FALSE(r.model.GetGroupKeyByIndex(1, key));
    EXPECT_FALSE(r.model.GetGroupKeyByIndex(0, key));

    r.model.AddGroup("G", "Group");
    r.model.ClearStructure();
    EXPECT_EQ(r.model.GroupCount(), 0);
    EXPECT_FALSE(r.model.specialGroup().Visible);
    EXPECT_EQ(r.model.specialGroup().ItemCount(), 0);
}
