#include "platform/QtFileDialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

#include "platform/MessageBoxes.h"
#include "support/TempDir.h"
#include "support/TestApplication.h"

namespace platform {
namespace {

using testing_support::TempDir;
using testing_support::WriteBytes;

QString Q(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

class QtFileDialogsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testing_support::TestApplication(); }

    // Runs `steps` on the next modal file dialog once it shows.
    void WithNextDialog(std::function<void(QFileDialog&)> steps) {
        QTimer::singleShot(0, [steps] {
            auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            steps(*dialog);
        });
    }

    // The names the dialog's list offers (enabled rows of its folder), once the folder has
    // been read in the background and holds `expected` rows.
    static QStringList Listed(QFileDialog& dialog, int expected) {
        auto* view = dialog.findChild<QListView*>(QStringLiteral("listView"));
        QStringList names;
        const bool complete = QTest::qWaitFor([&] {
            names.clear();
            const QModelIndex root = view->rootIndex();
            for (int row = 0; row < view->model()->rowCount(root); ++row) {
                const QModelIndex index = view->model()->index(row, 0, root);
                if (view->model()->flags(index) & Qt::ItemIsEnabled) names << index.data().toString();
            }
            names.sort(Qt::CaseInsensitive);
            return names.size() == expected;
        }, 10000);
        EXPECT_TRUE(complete) << names.join(u' ').toStdString();
        return names;
    }

    // What the Open or Save button does.
    static void Accept(QFileDialog& dialog) { static_cast<QDialog&>(dialog).accept(); }

    static void Type(QFileDialog& dialog, const QString& text) {
        dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(text);
    }

    TempDir dir;
    QtFileDialogs dialogs;
};

TEST_F(QtFileDialogsTest, ShowsTheFilterListAndHandsATypedPatternBackAsTyped) {
    for (const char* name : {"SET1.DX7", "bank.dx7", "MYLIBRARY"}) WriteBytes(dir / name, {1});
    QStringList filterTexts, bankListing, allListing;
    QString proposed;
    WithNextDialog([&](QFileDialog& dialog) {
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        for (int i = 0; i < combo->count(); ++i) filterTexts << combo->itemText(i);
        proposed = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        bankListing = Listed(dialog, 2);
        dialog.selectNameFilter(dialog.nameFilters().at(2));
        allListing = Listed(dialog, 3);
        Type(dialog, QStringLiteral("s*.DX7"));
        Accept(dialog);
    });
    const auto answer =
        dialogs.Run({FileDialogKind::Open, (dir / "*.DX7").string(), kBankFilter, false});

    EXPECT_EQ(filterTexts, (QStringList{"Voices Bank (*.DX7)", "Library (*.DXL)", "All Files (*.*)",
                                        "Backup Files (*.bak)", "Sysex Files (*.SYX)"}));
    EXPECT_EQ(proposed, "*.DX7");
    EXPECT_EQ(bankListing, (QStringList{"bank.dx7", "SET1.DX7"}));
    EXPECT_EQ(allListing, (QStringList{"bank.dx7", "MYLIBRARY", "SET1.DX7"}));
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->path, (dir / "s*.DX7").string());
    EXPECT_EQ(answer->filterIndex, 3);
    EXPECT_EQ(dialogs.LastFolder(), Q(dir.Path()));
}

TEST_F(QtFileDialogsTest, RefusesAMissingFolderAndReplacesWithoutAsking) {
    WriteBytes(dir / "MYBANK", {1});
    RecordingBoxes boxes;
    bool stayedOpen = false;
    WithNextDialog([&](QFileDialog& dialog) {
        Type(dialog, Q(dir / "no-such-folder" / "MYBANK"));
        Accept(dialog);
        stayedOpen = dialog.isVisible();
        Type(dialog, Q(dir / "MYBANK"));
        Accept(dialog);  // an existing file: taken as it is, no question
    });
    const auto answer = dialogs.Run({FileDialogKind::Save, "BANK", kSysexFilter, true});

    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].kind, BoxKind::Warning);
    EXPECT_EQ(boxes.Shown()[0].title, "Save As");
    EXPECT_EQ(boxes.Shown()[0].text, (dir / "no-such-folder").string() +
                                         "\nFolder not found.\nPlease verify the correct folder "
                                         "name was given.");
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->path, (dir / "MYBANK").string());
    EXPECT_EQ(answer->filterIndex, kSysexFilter);
}

TEST_F(QtFileDialogsTest, AnOpenWithValidationRefusesAMissingFileAndCancelGivesNothing) {
    RecordingBoxes boxes;
    WithNextDialog([&](QFileDialog& dialog) {
        Type(dialog, Q(dir / "NONE.DX7"));
        Accept(dialog);
        static_cast<QDialog&>(dialog).reject();
    });
    EXPECT_FALSE(dialogs.Run({FileDialogKind::Open, "*.DX7", kBankFilter, true}));
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].title, "Open");
    EXPECT_EQ(boxes.Shown()[0].text.substr(0, 9), "NONE.DX7\n");
    EXPECT_EQ(dialogs.LastFolder(), QDir::currentPath());  // a cancel moves nothing
}

}  // namespace
}  // namespace platform
