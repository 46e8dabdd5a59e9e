#include "librarian/TfrmOption.h"

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "MainWindowFixture.h"
#include "controls/TTitleBar.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"

namespace librarian {
namespace {

class OptionWindowTest : public MainWindowFixture {
protected:
    TfrmOption& Options() {
        if (!options_) options_ = std::make_unique<TfrmOption>(settings_);
        return *options_;
    }
    void TearDown() override {
        options_.reset();
        MainWindowFixture::TearDown();
    }
    // Types each character as a key of its own, also those no keyboard key names.
    static void Type(QWidget* widget, const QString& text) {
        for (const QChar typed : text)
            QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(typed), Qt::NoModifier);
    }

    std::unique_ptr<TfrmOption> options_;
};

TEST_F(OptionWindowTest, FirstStartShowsTheDefaultsAndTheWindowsFrame) {
    TfrmOption& o = Options();
    EXPECT_EQ(o.windowTitle(), "Option");
    EXPECT_EQ(controls::ClientArea(&o)->size(), QSize(207, 348));
    EXPECT_EQ(o.size(), QSize(209, 350 + controls::TTitleBar::CaptionHeight()));
    EXPECT_EQ(o.pos(), QPoint(118, 506));
    EXPECT_FALSE(o.OpenAtStart());
    EXPECT_FALSE(o.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_TRUE(o.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_FALSE(o.isModal());
    EXPECT_EQ(o.States(), OptionStates{});
    EXPECT_EQ(o.SwitchOf(OptionSwitch::Copy)->state(), 1);
    EXPECT_EQ(o.SwitchOf(OptionSwitch::Second)->state(), 1);
    EXPECT_EQ(o.SwitchOf(OptionSwitch::First)->state(), 0);
    EXPECT_EQ(o.SearchText(), "");
    EXPECT_EQ(o.SearchPosition(), 0);
    EXPECT_EQ(o.LabelOf(OptionSwitch::AddTo)->text(), "Add To");
    EXPECT_NE(o.findChildren<QLabel*>().size(), 0);
    bool dragDropHeading = false;
    for (const QLabel* label : o.findChildren<QLabel*>())
        dragDropHeading = dragDropHeading || label->text() == "Drag&Drop";
    EXPECT_TRUE(dragDropHeading);
}

TEST_F(OptionWindowTest, LabelsAndSwitchesClickAlikeAndTheLampsFollow) {
    TfrmOption& o = Options();
    o.show();
    QTest::mouseClick(o.LabelOf(OptionSwitch::Second), Qt::LeftButton);
    EXPECT_TRUE(o.DoublesFirst());
    EXPECT_FALSE(o.DoublesSecond());
    EXPECT_EQ(o.SwitchOf(OptionSwitch::First)->state(), 1);
    EXPECT_EQ(o.SwitchOf(OptionSwitch::Second)->state(), 0);
    QTest::mouseClick(o.SwitchOf(OptionSwitch::Swap), Qt::LeftButton);
    EXPECT_TRUE(o.Swap());
    EXPECT_FALSE(o.Copy());
    EXPECT_EQ(o.SwitchOf(OptionSwitch::Copy)->state(), 0);
    QTest::mouseClick(o.LabelOf(OptionSwitch::LinkBuffers), Qt::LeftButton);
    QTest::mouseClick(o.LabelOf(OptionSwitch::MultiSelect), Qt::RightButton);
    EXPECT_TRUE(o.LinkBuffers());
    EXPECT_FALSE(o.MultiSelect()) << "only the left button clicks";
}

TEST_F(OptionWindowTest, TheSearchFieldTakesTenNameCharactersAndKeepsThemFromTheMainWindow) {
    TfrmMain& w = Window();
    TfrmOption& o = Options();
    w.SetOptionsWindow(&o);
    w.show();
    o.show();
    QLineEdit* field = o.SearchField();
    QTest::keyClicks(field, QStringLiteral("2o+"));
    EXPECT_EQ(field->text(), "2o+");
    EXPECT_EQ(w.CurrentBank(), 0) << "the main window's keys stay out of the field";
    EXPECT_EQ(w.PageNumber(), 0);
    field->clear();
    Type(field, QString::fromUtf8("\u00e9P\u00a5N\u2192O\u2190 ABCDEFG"));
    EXPECT_EQ(field->text(), QString::fromUtf8("P\u00a5N\u2192O\u2190 ABC"));
    EXPECT_EQ(o.SearchText(), "P\\N~O\x7f ABC");
    o.PositionKnob()->setState(4);
    EXPECT_EQ(o.SearchPosition(), 4);

    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(o.isVisible()) << "Enter in the field closes the window";
    EXPECT_EQ(o.SearchText(), "P\\N~O\x7f ABC") << "and keeps the text";
    o.show();
    QTest::keyClick(&o, Qt::Key_Escape);
    EXPECT_FALSE(o.isVisible());
}

TEST_F(OptionWindowTest, TheOptionsKeyShowsTheWindowAndRaisesItWhenOpen) {
    TfrmMain& w = Window();
    TfrmOption& o = Options();
    w.SetOptionsWindow(&o);
    w.show();
    QTest::keyClick(&w, 'O');
    EXPECT_TRUE(o.isVisible());
    w.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QTest::keyClick(&w, 'o');
    EXPECT_TRUE(o.isVisible());
    EXPECT_TRUE(QTest::qWaitForWindowActive(&o)) << "brought to the front";
}

TEST_F(OptionWindowTest, SettingsRoundTripAndAPlaceOutOfReachGivesWayToTheDefault) {
    settings_.Set(platform::kBaseKey, "OBX", 200);
    settings_.Set(platform::kBaseKey, "OBY", 300);
    settings_.Set(platform::kBaseKey, "OBO", 1);
    settings_.Set(platform::kBaseKey, "MSL", 1);
    settings_.Set(platform::kBaseKey, "LBU", 0);
    settings_.Set(platform::kBaseKey, "CPY", 0);
    settings_.Set(platform::kBaseKey, "SWP", 0);
    settings_.Set(platform::kBaseKey, "ADD", 1);
    settings_.Set(platform::kBaseKey, "DF1", 1);
    settings_.Set(platform::kBaseKey, "DF2", 0);
    settings_.Set(platform::kBaseKey, "DEL", 1);
    TfrmOption& o = Options();
    EXPECT_EQ(o.pos(), QPoint(300, 200));
    EXPECT_TRUE(o.OpenAtStart());
    EXPECT_TRUE(o.MultiSelect() && o.AddTo() && o.DoublesFirst() && o.DoublesDelete());
    EXPECT_FALSE(o.Copy() || o.Swap() || o.DoublesSecond() || o.LinkBuffers());
    EXPECT_EQ(o.SwitchOf(OptionSwitch::AddTo)->state(), 1);

    o.move(250, 260);
    o.OptionClick(OptionSwitch::LinkBuffers);
    BaseValues values;
    o.CollectBaseValues(values);
    EXPECT_EQ(values.optionsOpen, 0) << "not shown";
    o.show();
    o.CollectBaseValues(values);
    EXPECT_EQ(values.optionsOpen, 1);
    EXPECT_EQ(values.optionsTop, 260);
    EXPECT_EQ(values.optionsLeft, 250);
    EXPECT_EQ(values.linkBuffers, 1);
    EXPECT_EQ(values.dropAddTo, 1);
    EXPECT_EQ(values.doublesSecond, 0);

    settings_.Set(platform::kBaseKey, "OBX", -30000);
    TfrmOption lost(settings_);
    EXPECT_EQ(lost.pos(), QPoint(118, 506));
    EXPECT_TRUE(lost.MultiSelect()) << "the switches are still read";
}

TEST_F(OptionWindowTest, RunSearchByNameRunsWhileTheButtonShowsPressed) {
    TfrmOption& o = Options();
    std::vector<int> statesSeen;
    QObject::connect(&o, &TfrmOption::autoSearchNameRequested,
                     [&] { statesSeen.push_back(o.AutoSearchButton()->state()); });
    QTest::mouseClick(o.AutoSearchButton(), Qt::LeftButton);
    EXPECT_EQ(statesSeen, std::vector<int>{1});
    EXPECT_EQ(o.AutoSearchButton()->state(), 0);
    EXPECT_EQ(o.AutoSearchButton()->toolTip(), "Run Search by Name");
}

}  // namespace
}  // namespace librarian
