#include "controls/dialogs/modFontsCombo.h"

#include "tests/common/TestSupport.h"

#include <QComboBox>
#include <QSet>
#include <gtest/gtest.h>

using namespace picbasket;

TEST(FontsCombo, InstalledFamiliesListedOnceFirstShown) {
    QComboBox combo;
    combo.addItem(QStringLiteral("left over"));
    ASSERT_TRUE(fncFillFontList(&combo, true));
    ASSERT_TRUE(fncFillFontList(&combo, true));
    QSet<QString> seen;
    for (int i = 0; i < combo.count(); ++i) {
        EXPECT_FALSE(seen.contains(combo.itemText(i))) << combo.itemText(i).toStdString();
        seen.insert(combo.itemText(i));
    }
    EXPECT_FALSE(seen.contains(QStringLiteral("left over")));
    if (combo.count() > 0) {
        EXPECT_EQ(combo.currentIndex(), 0);
    }
}

TEST(FontsCombo, GivenFacesTable) {
    test::MessageRecorder messages;
    QComboBox combo;
    combo.setEditable(true);
    ASSERT_TRUE(fncFillFontList(&combo, QStringList{"Serif", "", "Mono", "Sans"}));
    EXPECT_EQ(combo.count(), 3) << "empty names are skipped";
    EXPECT_EQ(combo.itemText(1), QStringLiteral("Mono")) << "kept in reported order";
    EXPECT_EQ(combo.currentText(), QStringLiteral("Serif"));

    EXPECT_TRUE(fncFillFontList(&combo, QStringList{}));
    EXPECT_EQ(combo.count(), 0) << "no fonts: empty and no failure";
    EXPECT_TRUE(messages.shown().empty());

    combo.addItem(QStringLiteral("stale"));
    EXPECT_FALSE(fncFillFontList(&combo, std::nullopt));
    EXPECT_EQ(combo.count(), 0);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("Failed to get font info"));
    EXPECT_EQ(messages.shown()[0].style, mb::OKOnly);
}
