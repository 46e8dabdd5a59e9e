#include "librarian/TfrmInfo.h"

#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include "support/TestApplication.h"

namespace librarian {
namespace {

class TfrmInfoTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::TestApplication();
        info_ = std::make_unique<TfrmInfo>();
        info_->show();
    }
    std::unique_ptr<TfrmInfo> info_;
};

TEST_F(TfrmInfoTest, ShowsTheProgramsNameUnderItsCaption) {
    EXPECT_EQ(info_->windowTitle(), QStringLiteral("Infos"));
    auto* name = info_->findChild<QLabel*>(QStringLiteral("labName"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text(), QStringLiteral("Mondral"));
}

TEST_F(TfrmInfoTest, EnterEscapeAndALabelClickCloseIt) {
    QTest::keyClick(info_.get(), Qt::Key_Escape);
    EXPECT_FALSE(info_->isVisible());
    info_->show();
    QTest::keyClick(info_.get(), Qt::Key_Return);
    EXPECT_FALSE(info_->isVisible());
    info_->show();
    QTest::keyClick(info_.get(), Qt::Key_A);
    EXPECT_TRUE(info_->isVisible()) << "other keys leave it open";
    QTest::mouseClick(info_->findChild<QLabel*>(QStringLiteral("labDescription")),
                      Qt::LeftButton);
    EXPECT_FALSE(info_->isVisible());
}

}  // namespace
}  // namespace librarian
