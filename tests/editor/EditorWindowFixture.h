#pragma once
// The editor window over an edit buffer holding a real voice, sending through the MIDI window's
// port and messages to the emulated rack, with bank 4 (module 3) current.

#include <QTest>

#include <chrono>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/Bankson.h"
#include "core/Edtson.h"
#include "editor/TfrmEdt.h"
#include "midi/EmulatedRack.h"
#include "midi/MainWindowLink.h"
#include "midi/TfrmMidi.h"
#include "platform/MemorySettings.h"
#include "support/TestApplication.h"

namespace editor {

class EditorWindowFixture : public ::testing::Test, public midi::MainWindowLink {
protected:
    static constexpr std::size_t kModule = 3;

    void SetUp() override {
        testing_support::TestApplication();
        platform::SetSettings(&settings_);
        midi_ = std::make_unique<midi::TfrmMidi>(rack_, nullptr, settings_);
        midi_->SetMainWindowLink(this);
        midi_->ListPorts();
    }
    void TearDown() override {
        window_.reset();
        midi_->ClosePorts();
        midi_.reset();
        platform::SetSettings(nullptr);
    }

    int CurrentBank() const override { return int(kModule); }
    void SetGetAllBanksEnabled(bool) override {}
    void SetMemoryProtectEnabled(bool) override {}
    void SetShowSystemInfoEnabled(bool) override {}

    static std::string BankFile(int number) {
        char name[32];
        std::snprintf(name, sizeof name, "/banks/SynprezFM_%02d.syx", number);
        return std::string(MONDRAL_SHARED_DIR) + name;
    }
    // Voice `slot` of a real bank into the edit buffer (both images).
    void TakeRealVoice(int bankFile, int slot) {
        core::Bankson bank;
        ASSERT_TRUE(bank.LoadBankFile(BankFile(bankFile), false));
        buffer_.TakeVoice(bank.Page()[std::size_t(slot)].voice, nullptr, false, true);
    }

    TfrmEdt& Window() {
        if (!window_) window_ = std::make_unique<TfrmEdt>(buffer_, &midi_->Messages(), nullptr, settings_);
        return *window_;
    }
    template <typename T = QWidget>
    T* Control(const QString& name) {
        auto* control = Window().findChild<T*>(name);
        EXPECT_NE(control, nullptr) << name.toStdString();
        return control;
    }
    template <typename T = QWidget>
    T* Control(const std::string& name) { return Control<T>(QString::fromStdString(name)); }

    // Waits for the queue to empty and the rack to take in everything.
    void Drain() {
        using namespace std::chrono_literals;
        EXPECT_TRUE(QTest::qWaitFor([&] { return !Window().SendsPending(); }, 10000));
        EXPECT_TRUE(rack_.WaitIdle(10s));
    }

    platform::MemorySettings settings_;
    midi::EmulatedRack rack_;
    std::unique_ptr<midi::TfrmMidi> midi_;
    core::Edtson buffer_;
    std::unique_ptr<TfrmEdt> window_;
};

}  // namespace editor
