#include "librarian/TNameForm.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

#include "support/TestApplication.h"

namespace librarian {
namespace {

// Types each character as its own key press, as a keyboard layout that has it would.
void TypeText(QWidget* field, const QString& text) {
    for (QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
        QApplication::sendEvent(field, &press);
        QApplication::sendEvent(field, &release);
    }
}

// Opens the window on `name` and, once it is up, plays `typing` into it.
QString EditWhileTyping(TNameForm& form, const QString& name,
                        const std::function<void(QLineEdit*)>& typing) {
    bool played = false;
    QTimer::singleShot(0, &form, [&] {
        played = true;
        EXPECT_TRUE(form.isVisible());
        typing(form.edtName());
        // Whatever the typing left, the window must not stay open for ever.
        if (form.isVisible()) form.close();
    });
    const QString result = form.Edit(QStringLiteral("Edit Type Name"), name);
    EXPECT_TRUE(played);
    EXPECT_FALSE(form.isVisible());
    return result;
}

class TNameFormTest : public ::testing::Test {
protected:
    // The application exists before the window member is made.
    TNameForm form_{(testing_support::TestApplication(), nullptr)};
};

TEST_F(TNameFormTest, EnterClosesWithTheTypedName) {
    const QString result = EditWhileTyping(form_, QStringLiteral("Empty"), [](QLineEdit* field) {
        field->selectAll();
        QTest::keyClicks(field, QStringLiteral("Bass"));
        QTest::keyClick(field, Qt::Key_Return);
    });
    EXPECT_EQ(result, QStringLiteral("Bass"));
    EXPECT_EQ(form_.windowTitle(), QStringLiteral("Edit Type Name"));
    EXPECT_EQ(form_.edtName()->toolTip(), QStringLiteral("Enter New Name"));
}

TEST_F(TNameFormTest, EscEmptiesTheFieldAndLeavesTheWindowOpen) {
    bool openAfterEsc = false;
    const QString result = EditWhileTyping(form_, QStringLiteral("Piano"), [&](QLineEdit* field) {
        QTest::keyClick(field, Qt::Key_Escape);
        openAfterEsc = form_.isVisible();
        EXPECT_EQ(field->text(), QString());
        QTest::keyClick(field, Qt::Key_Enter);
    });
    EXPECT_TRUE(openAfterEsc);
    EXPECT_EQ(result, QString());
}

TEST_F(TNameFormTest, TheCloseButtonAlsoHandsBackTheField) {
    const QString result = EditWhileTyping(form_, QStringLiteral("Organ"), [](QLineEdit* field) {
        field->end(false);
        QTest::keyClicks(field, QStringLiteral(" 2"));
    });
    EXPECT_EQ(result, QStringLiteral("Organ 2"));
}

TEST_F(TNameFormTest, TheFieldHoldsTenNameCharactersAndRefusesTheRest) {
    const QString result = EditWhileTyping(form_, QString(), [](QLineEdit* field) {
        // e-acute has no name byte; backslash and tilde show as the DX7 shows them.
        TypeText(field, QString::fromUtf8("Caf\u00e9\\~ABCDEFGH"));
        QTest::keyClick(field, Qt::Key_Return);
    });
    EXPECT_EQ(result, QString::fromUtf8("Caf\u00a5\u2192ABCDE"));
}

TEST_F(TNameFormTest, ALongerNameOpensWithItsFirstTenCharacters) {
    const QString result =
        EditWhileTyping(form_, QStringLiteral("0123456789AB"),
                        [](QLineEdit* field) { QTest::keyClick(field, Qt::Key_Return); });
    EXPECT_EQ(result, QStringLiteral("0123456789"));
}

}  // namespace
}  // namespace librarian
