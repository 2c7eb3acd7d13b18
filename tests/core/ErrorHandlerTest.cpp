#include "core/AppError.h"
#include "core/ErrorHandler.h"
#include "core/Globals.h"
#include "core/MessageBox.h"
#include "tests/common/TestSupport.h"

#include <gtest/gtest.h>
#include <stdexcept>

using namespace picbasket;

TEST(ErrorTail, ReportsAndReturns) {
    test::ErrorRecorder errors;
    CurrentActivity = QStringLiteral("Adding selected files to basket!");
    bool after = false;
    errorTail(QStringLiteral("frmMain.Form_Load"), [] { raiseError(err::TypeMismatch, {}, 12); });
    after = true;
    EXPECT_TRUE(after);
    ASSERT_EQ(errors.reports().size(), 1u);
    const ErrorReport& r = errors.reports()[0];
    EXPECT_EQ(r.number, 13);
    EXPECT_EQ(r.line, 12);
    EXPECT_EQ(r.description, QStringLiteral("Type mismatch"));
    EXPECT_EQ(r.source, QStringLiteral("frmMain.Form_Load"));
    EXPECT_EQ(r.activity, QStringLiteral("Adding selected files to basket!"));

    errorTail(QStringLiteral("mod.x"), [] { throw std::runtime_error("boom"); });
    ASSERT_EQ(errors.reports().size(), 2u);
    EXPECT_EQ(errors.reports()[1].description, QStringLiteral("boom"));
    CurrentActivity.clear();
}

TEST(MessageBoxes, TitledAndJoined) {
    test::MessageRecorder messages;
    ApplicationTitle = QStringLiteral("PicBasket 1.0");
    messages.answerNext(mb::No);
    EXPECT_EQ(msgBox(joinLines({QStringLiteral("a"), QStringLiteral("b")}), mb::YesNo), mb::No);
    ASSERT_EQ(messages.shown().size(), 1u);
    EXPECT_EQ(messages.shown()[0].title, QStringLiteral("PicBasket 1.0"));
    EXPECT_EQ(messages.shown()[0].text, QStringLiteral("a\r\nb"));
    ApplicationTitle = QStringLiteral("PicBasket");
}
