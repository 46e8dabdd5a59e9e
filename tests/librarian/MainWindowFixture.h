#pragma once
// A main window over eight banks, a library and an edit buffer, with settings in memory and
// message boxes recorded.

#include <QApplication>
#include <QColor>
#include <QDropEvent>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QUrl>

#include <array>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/TfrmMain.h"
#include "librarian/VoiceList.h"
#include "platform/MemorySettings.h"
#include "platform/MessageBoxes.h"
#include "support/TestApplication.h"

namespace librarian {

class MainWindowFixture : public ::testing::Test {
protected:
    void SetUp() override {
        testing_support::TestApplication();
        platform::SetSettings(&settings_);
    }
    void TearDown() override {
        window_.reset();
        platform::SetSettings(nullptr);
    }

    TfrmMain& Window() {
        if (!window_) {
            TfrmMain::Banks banks;
            for (int n = 0; n < kBankCount; ++n) banks[n] = &banks_[n];
            window_ = std::make_unique<TfrmMain>(banks, library_, buffer_);
        }
        return *window_;
    }

    static std::string BankFile(int number) {
        char name[32];
        std::snprintf(name, sizeof name, "/banks/SynprezFM_%02d.syx", number);
        return std::string(MONDRAL_SHARED_DIR) + name;
    }

    static QColor TextColour(const QLabel* label) {
        return label->palette().color(QPalette::WindowText);
    }

    static QStringList Lines(const VoiceListBox* list) {
        QStringList lines;
        for (int i = 0; i < list->Count(); ++i) lines << list->Line(i);
        return lines;
    }
    static QStringList Lines(const QListWidget* list) {
        QStringList lines;
        for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
        return lines;
    }

    // Files dragged from the desktop's file manager onto line 0 of a list; false when the list
    // refuses them.
    static bool DropFiles(VoiceListBox* list, const QStringList& files) {
        QMimeData data;
        QList<QUrl> urls;
        for (const QString& file : files) urls << QUrl::fromLocalFile(file);
        data.setUrls(urls);
        const QPoint at = list->LineRect(0).center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(list, &enter);
        if (!enter.isAccepted()) return false;
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(list, &drop);
        return drop.isAccepted();
    }

    platform::RecordingBoxes boxes_;
    platform::MemorySettings settings_;
    std::array<core::Bankson, kBankCount> banks_;
    core::Libson library_;
    core::Edtson buffer_;
    std::unique_ptr<TfrmMain> window_;
};

}  // namespace librarian
