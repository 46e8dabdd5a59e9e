#include "platform/QtMessageBoxes.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include "platform/BusyCursor.h"
#include "support/TestApplication.h"

namespace platform {
namespace {

class QtServicesTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::TestApplication(); }

    // Answers the next modal box with `button` and records what it showed.
    void AnswerNextBox(QMessageBox::StandardButton button) {
        QTimer::singleShot(0, [this, button] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            seen = {box->icon(), box->windowTitle(), box->text(), box->standardButtons(),
                    box->defaultButton() ? box->standardButton(box->defaultButton())
                                         : QMessageBox::NoButton};
            box->button(button)->click();
        });
    }

    struct Seen {
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QString title, text;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
    } seen;
    QtMessageBoxes boxes;
};

TEST_F(QtServicesTest, ShowsAModalBoxWithItsKindTitleAndText) {
    AnswerNextBox(QMessageBox::Ok);
    boxes.Show(BoxKind::Error, "MIDI DUMP ERROR", "Time Out Error! Retry...");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.title, "MIDI DUMP ERROR");
    EXPECT_EQ(seen.text, "Time Out Error! Retry...");
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST_F(QtServicesTest, AsksWithOkAndCancelAndReturnsTheAnswer) {
    AnswerNextBox(QMessageBox::Cancel);
    EXPECT_EQ(boxes.AskOkCancel(BoxKind::Warning, "Copy Warning", "Überschreiben?"),
              BoxAnswer::Cancel);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.text, "Überschreiben?");
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
    AnswerNextBox(QMessageBox::Ok);
    EXPECT_EQ(boxes.AskOkCancel(BoxKind::Question, "Confirm Delete", "Delete All Library ?"),
              BoxAnswer::Ok);
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok | QMessageBox::Cancel);
}

// A question whose careless Enter must not go ahead: No is the default.
TEST_F(QtServicesTest, AsksWithYesAndNoWithNoTheDefault) {
    for (const auto button : {QMessageBox::Yes, QMessageBox::No}) {
        AnswerNextBox(button);
        EXPECT_EQ(boxes.AskYesNo(BoxKind::Question, "Library File Read Warning", "Load ?"),
                  button == QMessageBox::Yes ? BoxAnswer::Yes : BoxAnswer::No);
        EXPECT_EQ(seen.icon, QMessageBox::Question);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
        EXPECT_EQ(seen.defaultButton, QMessageBox::No);
    }
}

TEST_F(QtServicesTest, BusyCursorShowsTheHourglassAndNests) {
    {
        BusyCursor outer;
        {
            BusyCursor inner;
            ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
            EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
        }
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace platform
