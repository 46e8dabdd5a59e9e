#pragma once
// The options window "Option": how name searches select, whether a voice taken into the edit
// buffer also replaces the compare image, what "Copy Bank -> Bank" and drops onto a bank do,
// what "Find Doubles" does, and the text and position of the name searches. The commands read
// it when they run. Closing only hides it; its switches are stored when the main window closes.

#include <QWidget>

#include <array>
#include <string>

#include "librarian/Audition.h"
#include "librarian/BaseSettings.h"
#include "librarian/OptionSwitches.h"

class QLabel;
class QLineEdit;

namespace controls {
class Tzografsw;
class Tzopotlab;
}  // namespace controls

namespace librarian {

inline constexpr int kSearchTextLength = 10;  // a longer text could never match a name

class TfrmOption : public QWidget {
    Q_OBJECT
public:
    // Reads "OBX", "OBY", "OBO" and the switches from the "Base" settings; a stored place out of
    // reach of every screen gives way to the default place. Nothing is shown yet.
    explicit TfrmOption(platform::SettingsStore& store = platform::Settings(),
                        QWidget* parent = nullptr);

    // "OBO" was 1: the program shows the window once the main window is up.
    bool OpenAtStart() const { return openAtStart_; }
    // The Options button and the key "O": shows the window, or raises it when already open.
    void ShowAndRaise();

    // --- What the commands read ---
    const OptionStates& States() const { return states_; }
    bool MultiSelect() const { return states_.multiSelect; }
    bool LinkBuffers() const { return states_.linkBuffers; }
    bool Copy() const { return states_.copy; }
    bool Swap() const { return states_.swap; }
    bool AddTo() const { return states_.addTo; }
    bool DoublesFirst() const { return states_.first; }
    bool DoublesSecond() const { return states_.second; }
    bool DoublesDelete() const { return states_.doublesDelete; }
    core::DoublesOptions Doubles() const { return DoublesFrom(states_); }
    // The note played after each voice click, and whether one is.
    const AuditionSettings& Audition() const { return audition_; }
    // The search text as name bytes (what the lists show as yen sign and arrows is 5Ch, 7Eh,
    // 7Fh), at most 10.
    std::string SearchText() const;
    // 0: anywhere in the name; 1-10: the text starts at that character.
    int SearchPosition() const;

    // The window's part of the "Base" values: place, visibility and switches.
    void CollectBaseValues(BaseValues& values) const;

    // --- Handlers ---
    // A click on a switch or on its label.
    void OptionClick(OptionSwitch clicked);
    // Runs the library's name search and shows the first page with a selected voice.
    void btnAutoSearchNameClick();

    // Controls, for tests and the snapshot tool.
    controls::Tzografsw* SwitchOf(OptionSwitch which) const { return switches_.at(Index(which)); }
    QLabel* LabelOf(OptionSwitch which) const { return labels_.at(Index(which)); }
    QLineEdit* SearchField() const { return edtOcc_; }
    controls::Tzopotlab* PositionKnob() const { return digPosOcc_; }
    controls::Tzografsw* AutoSearchButton() const { return btnAutoSearchName_; }
    controls::Tzografsw* AuditionSwitch() const { return chkAudition_; }
    // Note, velocity, length.
    std::array<controls::Tzopotlab*, 3> AuditionKnobs() const { return auditionKnobs_; }

signals:
    // "Run Search by Name": the library panel connects its "Search by Name" and "Find First
    // Selected" here; they run while the button shows pressed.
    void autoSearchNameRequested();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static constexpr int kSwitchCount = 8;
    static std::size_t Index(OptionSwitch which) { return static_cast<std::size_t>(which); }
    void BuildControls();
    void ShowStates();
    void BuildAudition(QWidget* w);
    void AuditionChanged();

    OptionStates states_;
    AuditionSettings audition_;
    controls::Tzografsw* chkAudition_ = nullptr;
    std::array<controls::Tzopotlab*, 3> auditionKnobs_{};
    bool openAtStart_ = false;
    std::array<controls::Tzografsw*, kSwitchCount> switches_{};
    std::array<QLabel*, kSwitchCount> labels_{};
    controls::Tzopotlab* digPosOcc_ = nullptr;
    QLineEdit* edtOcc_ = nullptr;
    controls::Tzografsw* btnAutoSearchName_ = nullptr;
};

}  // namespace librarian
