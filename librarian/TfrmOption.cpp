#include "librarian/TfrmOption.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>

#include "controls/Artwork.h"
#include "controls/PanelParts.h"
#include "controls/PressedWhile.h"
#include "controls/TTitleBar.h"
#include "controls/TWallpaper.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"
#include "librarian/NameField.h"
#include "librarian/VoiceNameText.h"
#include "librarian/WindowPlacement.h"
#include "controls/DialogHabits.h"

namespace librarian {
namespace {

constexpr int kClientWidth = 207;
constexpr int kClientHeight = 348;

const char* const kFieldStyle =
    "QLineEdit { color: #e0e4ea; background: #0a0a0b; border: 1px solid #3a3c42;"
    " font: 12px 'DejaVu Sans Mono'; padding: 0 2px; selection-background-color: #6a3a10; }";
const char* const kSmallCaptionStyle =
    "color: #8a8e96; background: transparent; font: 10px 'DejaVu Sans';";

}  // namespace

TfrmOption::TfrmOption(platform::SettingsStore& store, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("frmOption"));
    setWindowTitle(QStringLiteral("Option"));
    setFixedSize(kClientWidth, kClientHeight);
    BuildControls();
    controls::WearCaptionBar(this, controls::kCaptionClose);

    BaseValues values;
    ReadOptionsWindowValues(values, store);
    const BaseValues defaults;
    move(ReachablePlace(QPoint(values.optionsLeft, values.optionsTop), size(),
                        QPoint(defaults.optionsLeft, defaults.optionsTop)));
    openAtStart_ = values.optionsOpen == 1;
    states_ = OptionStatesFrom(values);
    audition_ = AuditionFrom(values);
    ShowStates();
}

void TfrmOption::BuildControls() {
    using namespace controls::panel;
    auto* w = new controls::TWallpaper(this);
    w->setGeometry(rect());
    w->setWallpaper(controls::artwork::WallpaperTile());

    // Search by name: position knob, text, and the button that runs the library's search.
    Group(w, QRect(6, 6, 195, 76));
    Caption(w, QStringLiteral("Search by Name"), 14, 11, kHeadingStyle);
    digPosOcc_ = LabelKnob(w, 0, core::kMaxSearchPosition, 50, QRect(14, 34, 30, 22));
    digPosOcc_->setObjectName(QStringLiteral("digPosOcc"));
    digPosOcc_->setState(0);
    SetHint(digPosOcc_, Caption(w, QStringLiteral("Pos"), 19, 60, kSmallCaptionStyle),
            QStringLiteral("Position in the name (0: anywhere)"));
    edtOcc_ = new QLineEdit(w);
    edtOcc_->setObjectName(QStringLiteral("edtOcc"));
    edtOcc_->setGeometry(52, 34, 108, 22);
    // Only characters that stand for a name byte, so every text typed can match.
    MakeNameField(edtOcc_);
    edtOcc_->setStyleSheet(QString::fromLatin1(kFieldStyle));
    SetHint(edtOcc_, Caption(w, QStringLiteral("Text"), 52, 60, kSmallCaptionStyle),
            QStringLiteral("Text to search for"));
    btnAutoSearchName_ = SmallPushButton(w, 170, 35);
    btnAutoSearchName_->setObjectName(QStringLiteral("btnAutoSearchName"));
    SetHint(btnAutoSearchName_, Caption(w, QStringLiteral("Run"), 170, 60, kSmallCaptionStyle),
            QStringLiteral("Run Search by Name"));
    connect(btnAutoSearchName_, &controls::Tzografsw::clicked, this,
            &TfrmOption::btnAutoSearchNameClick);

    struct Row {
        OptionSwitch which;
        const char* name;
        const char* text;
        int x, y;
    };
    Group(w, QRect(6, 88, 195, 64));
    Caption(w, QStringLiteral("Selection"), 14, 93, kHeadingStyle);
    Group(w, QRect(6, 158, 96, 124));
    Caption(w, QStringLiteral("Drag&Drop"), 14, 163, kHeadingStyle);
    Group(w, QRect(105, 158, 96, 124));
    Caption(w, QStringLiteral("Doubles"), 113, 163, kHeadingStyle);
    const Row rows[] = {
        {OptionSwitch::MultiSelect, "chkMultiSel", "Multi Select", 14, 112},
        {OptionSwitch::LinkBuffers, "chkLinkBuf", "Link Buffers", 14, 130},
        {OptionSwitch::Copy, "rbtCopy", "Copy", 14, 188},
        {OptionSwitch::Swap, "rbtSwap", "Swap", 14, 216},
        {OptionSwitch::AddTo, "rbtAddTo", "Add To", 14, 244},
        {OptionSwitch::First, "chkDblePrem", "First", 113, 188},
        {OptionSwitch::Second, "chkDbleSec", "Second", 113, 216},
        {OptionSwitch::Delete, "ledDbleDel", "Delete", 113, 244},
    };
    for (const Row& row : rows) {
        controls::Tzografsw* lamp = Lamp(w, row.x, row.y);
        lamp->setObjectName(QString::fromLatin1(row.name));
        QLabel* label = Caption(w, QString::fromLatin1(row.text), row.x + 22, row.y);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        const OptionSwitch which = row.which;
        connect(lamp, &controls::Tzografsw::clicked, this, [this, which] { OptionClick(which); });
        switches_[Index(which)] = lamp;
        labels_[Index(which)] = label;
    }
    BuildAudition(w);
}

void TfrmOption::BuildAudition(QWidget* w) {
    using namespace controls::panel;
    Group(w, QRect(6, 288, 195, 54));
    chkAudition_ = Lamp(w, 14, 296);
    chkAudition_->setObjectName(QStringLiteral("chkAudition"));
    SetHint(chkAudition_, Caption(w, QStringLiteral("Audition"), 36, 296),
            QStringLiteral("Play a note on the module after each voice click"));
    connect(chkAudition_, &controls::Tzografsw::clicked, this, [this] {
        audition_.on = !audition_.on;
        ShowStates();
    });
    struct Knob {
        const char* name;
        const char* caption;
        const char* hint;
        int min, max, x;
    };
    const Knob knobs[3] = {
        {"digAudNote", "Note", "Note played (60: C3)", 0, 127, 100},
        {"digAudVel", "Vel", "Velocity of the note", 1, 127, 134},
        {"digAudLen", "Len", "Length in tenths of a second", 1, kAuditionMaxTenths, 168},
    };
    for (std::size_t i = 0; i < 3; ++i) {
        const Knob& k = knobs[i];
        controls::Tzopotlab* knob = LabelKnob(w, k.min, k.max, 80, QRect(k.x, 294, 28, 22));
        knob->setObjectName(QString::fromLatin1(k.name));
        SetHint(knob, Caption(w, QString::fromLatin1(k.caption), k.x + 2, 320, kSmallCaptionStyle),
                QString::fromLatin1(k.hint));
        connect(knob, &controls::Tzopotlab::changed, this, [this] { AuditionChanged(); });
        auditionKnobs_[i] = knob;
    }
}

void TfrmOption::AuditionChanged() {
    audition_.note = auditionKnobs_[0]->state();
    audition_.velocity = auditionKnobs_[1]->state();
    audition_.tenths = auditionKnobs_[2]->state();
}

void TfrmOption::ShowStates() {
    const bool on[kSwitchCount] = {states_.multiSelect, states_.linkBuffers, states_.copy,
                                   states_.swap,        states_.addTo,       states_.first,
                                   states_.second,      states_.doublesDelete};
    for (int i = 0; i < kSwitchCount; ++i) switches_[i]->setState(on[i] ? 1 : 0);
    chkAudition_->setState(audition_.on ? 1 : 0);
    auditionKnobs_[0]->setState(audition_.note);
    auditionKnobs_[1]->setState(audition_.velocity);
    auditionKnobs_[2]->setState(audition_.tenths);
}

void TfrmOption::ShowAndRaise() {
    show();
    raise();
    activateWindow();
}

std::string TfrmOption::SearchText() const { return NameBytesFromText(edtOcc_->text()); }

int TfrmOption::SearchPosition() const { return digPosOcc_->state(); }

void TfrmOption::CollectBaseValues(BaseValues& values) const {
    values.optionsTop = y();
    values.optionsLeft = x();
    values.optionsOpen = isVisible() ? 1 : 0;
    StoreOptionStates(states_, values);
    StoreAudition(audition_, values);
}

void TfrmOption::OptionClick(OptionSwitch clicked) {
    ClickOption(states_, clicked);
    ShowStates();
}

void TfrmOption::btnAutoSearchNameClick() {
    controls::PressedWhile pressed(btnAutoSearchName_);
    emit autoSearchNameRequested();
}

void TfrmOption::keyPressEvent(QKeyEvent* event) {
    if (!controls::HideByKey(*this, *event)) QWidget::keyPressEvent(event);
}

bool TfrmOption::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        for (int i = 0; i < kSwitchCount; ++i) {
            if (watched == labels_[i]) {
                OptionClick(static_cast<OptionSwitch>(i));
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace librarian
