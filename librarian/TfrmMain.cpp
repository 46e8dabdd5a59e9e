#include "librarian/TfrmMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

#include "controls/Artwork.h"
#include "controls/PressedWhile.h"
#include "controls/TWallpaper.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"
#include "controls/TTitleBar.h"
#include "core/Bankson.h"
#include "core/Edtson.h"
#include "core/Libson.h"
#include "librarian/VoiceList.h"
#include "librarian/WindowPlacement.h"
#include "midi/TfrmMidi.h"
#include "platform/Clock.h"

namespace librarian {

namespace {

constexpr int kClientWidth = 931;
constexpr int kClientHeight = 758;

// Bank columns: name label, its switch to the right, the list below.
constexpr int kBankPitch = 116;
constexpr int kBankLabelLeft = 14;
constexpr int kBankLabelTop = 14;
constexpr int kBankLabelWidth = 67;
constexpr int kBankSwitchTop = 11;
constexpr int kBankListLeft = 19;
constexpr int kBankListTop = 45;
constexpr int kBankListWidth = 80;

// Library lists: two per page, six pages side by side.
constexpr int kLibraryPitch = 75;
constexpr int kLibraryListLeft = 16;
constexpr int kLibraryListTop = 526;
constexpr int kLibraryListWidth = 74;

constexpr unsigned kCurrentBankColour = 65535;   // yellow
constexpr unsigned kOtherBankColour = 8421504;   // grey
constexpr unsigned kShownPageColour = 3483430;   // dark blue-grey behind the page Page mode acts on

const QColor kCaptionText(0xE8, 0xE0, 0xC0);

QLabel* MakeLabel(QWidget* parent, const QString& name, const QString& text, QRect geometry,
                  const QString& hint = {}) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    label->setToolTip(hint);
    // Narrow letters: bank and library names are file names of a dozen characters or more.
    QFont font = label->font();
    font.setStretch(QFont::Condensed);
    font.setPixelSize(11);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kCaptionText);
    label->setPalette(palette);
    return label;
}

controls::Tzografsw* MakeSwitch(QWidget* parent, const QString& name, const QPixmap& strip,
                                QPoint position, const QString& hint = {}) {
    auto* sw = new controls::Tzografsw(parent);
    sw->setObjectName(name);
    sw->setGlyph(2);
    sw->setBitmap(strip);
    sw->move(position);
    sw->setToolTip(hint);
    return sw;
}

void Toggle(controls::Tzografsw* sw) { sw->setState(1 - sw->state()); }

// A small engraved legend centred under `control`, as on the rack's front panel; clicks pass
// through it.
QLabel* MakeLegend(QWidget* parent, const QString& name, const QString& text, const QWidget* control,
                   int width) {
    const QRect under = control->geometry();
    QLabel* label = MakeLabel(parent, name, text,
                              QRect(under.center().x() - width / 2, under.bottom() + 2, width, 12));
    QFont font = label->font();
    font.setPixelSize(9);
    font.setBold(true);
    label->setFont(font);
    label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void SetTextColour(QLabel* label, unsigned colourValue) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ColourFromValue(colourValue));
    label->setPalette(palette);
}

}  // namespace

struct TfrmMain::Pictures {
    QPixmap redLamp, wallpaper, greenLamp, info, options, midi, types, firstSelected, lastSelected,
        trash;
};

TfrmMain::Pictures TfrmMain::MainWindowPictures() {
    using namespace controls::artwork;
    return {.redLamp = LampStrip(),
            .wallpaper = WallpaperTile(),
            .greenLamp = GreenLampStrip(),
            .info = PushButtonStrip(QStringLiteral("i")),
            .options = PushButtonStrip(QStringLiteral("OPT")),
            .midi = PushButtonStrip(QStringLiteral("MIDI")),
            .types = PushButtonStrip(QStringLiteral("T"), kSmallButtonSize),
            .firstSelected = PushButtonStrip(QStringLiteral("<"), kSmallButtonSize),
            .lastSelected = PushButtonStrip(QStringLiteral(">"), kSmallButtonSize),
            .trash = TrashCan()};
}

void TfrmMain::AskForPictures() { MainWindowPictures(); }

TfrmMain::TfrmMain(const Banks& banks, core::Libson& library, core::Edtson& buffer,
                   platform::SettingsStore& store, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      banks_(banks), library_(library), buffer_(buffer), menus_(this) {
    setObjectName(QStringLiteral("frmMain"));
    menus_.SetCommandFinished([this](const QString& handler, const QString& caption) {
        emit commandFinished(handler, caption);
    });
    setWindowTitle(QStringLiteral("Mondral"));
    setFixedSize(kClientWidth, kClientHeight);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);
    // The caption bar first, so the controls are made in the client area and not moved there.
    controls::WearCaptionBar(this, controls::kCaptionClose | controls::kCaptionMinimize);

    wallpaper_ = new controls::TWallpaper(controls::ClientArea(this));
    wallpaper_->setObjectName(QStringLiteral("Wallpaper"));
    wallpaper_->setGeometry(0, 0, kClientWidth, kClientHeight);
    BuildBankColumns();
    // Taken after the bank columns: the pictures drawn ahead are done by then.
    const Pictures pictures = MainWindowPictures();
    wallpaper_->setWallpaper(pictures.wallpaper);
    BuildMiddleStrip(pictures);
    BuildLibraryLists();

    // Every character typed anywhere in this window comes here before the control sees it.
    qApp->installEventFilter(this);

    BaseValues values;
    ReadMainWindowValues(values, store);
    ApplyBaseValues(values);
    update();
    for (int bank = 0; bank < kBankCount; ++bank) RefreshBankList(bank);
    RefreshLibraryLists();
}

TfrmMain::~TfrmMain() = default;

void TfrmMain::BuildBankColumns() {
    // The first picture drawn ahead (AskForPictures), so the first ready.
    const QPixmap lamp = controls::artwork::LampStrip();
    for (int n = 0; n < kBankCount; ++n) {
        const int labelLeft = kBankLabelLeft + kBankPitch * n;
        QLabel* label = MakeLabel(wallpaper_, QStringLiteral("Nombank%1").arg(n + 1),
                                  QStringLiteral("DX_Bank1."),
                                  QRect(labelLeft, kBankLabelTop, kBankLabelWidth, 16));
        label->installEventFilter(this);
        nombank_[n] = label;

        gswBank_[n] = MakeSwitch(wallpaper_, QStringLiteral("gsw_b%1").arg(n + 1), lamp,
                                 QPoint(labelLeft + kBankLabelWidth + 2, kBankSwitchTop));
        connect(gswBank_[n], &controls::Tzografsw::clicked, this,
                [this, n] { gsw_b1Click(gswBank_[n]); });

        listBox_[n] = MakeVoiceList(
            wallpaper_, QStringLiteral("ListBox%1").arg(n + 1),
            QRect(kBankListLeft + kBankPitch * n, kBankListTop, kBankListWidth,
                  kBankListLines * kVoiceLineHeight),
            Qt::black);
        connect(listBox_[n], &VoiceListBox::customContextMenuRequested, this,
                [this, n](QPoint at) {
                    menuBank_ = n;
                    ShowMenu(menus_.popBank(), listBox_[n], at);
                });
    }
    // Bank 1 is current at start.
    for (int n = 0; n < kBankCount; ++n) {
        gswBank_[n]->setState(n == 0 ? 1 : 0);
        SetTextColour(nombank_[n], n == 0 ? kCurrentBankColour : kOtherBankColour);
    }
}

void TfrmMain::BuildMiddleStrip(const Pictures& pictures) {
    btnInfos_ = MakeSwitch(wallpaper_, QStringLiteral("btnInfos"), pictures.info,
                           QPoint(8, 478), QStringLiteral("About..."));
    btnOptions_ = MakeSwitch(wallpaper_, QStringLiteral("btnOptions"), pictures.options, QPoint(52, 478),
                             QStringLiteral("Options"));
    btnMidiConf_ = MakeSwitch(wallpaper_, QStringLiteral("btnMidiConf"), pictures.midi, QPoint(96, 478),
                              QStringLiteral("MIDI Config"));
    connect(btnInfos_, &controls::Tzografsw::clicked, this, &TfrmMain::btnInfosClick);
    connect(btnOptions_, &controls::Tzografsw::clicked, this, &TfrmMain::btnOptionsClick);
    connect(btnMidiConf_, &controls::Tzografsw::clicked, this, &TfrmMain::btnMidiConfClick);

    gswPerform_ = MakeSwitch(wallpaper_, QStringLiteral("gswPerform"), pictures.greenLamp,
                             QPoint(248, 482), QStringLiteral("Mode Voices/Functions"));
    connect(gswPerform_, &controls::Tzografsw::clicked, this,
            [this] { Toggle(gswPerform_); });

    btnTrash_ = new QLabel(wallpaper_);
    btnTrash_->setObjectName(QStringLiteral("btnTrash"));
    btnTrash_->setPixmap(pictures.trash);
    btnTrash_->move(275, 471);
    btnTrash_->adjustSize();
    btnTrash_->setToolTip(QStringLiteral("Trash Landing zone"));
    btnTrash_->installEventFilter(this);

    btnBuffer_ = MakeLabel(wallpaper_, QStringLiteral("btnBuffer"), QStringLiteral("------------"),
                           QRect(359, 481, 96, 18), QStringLiteral("Edit Buffer"));
    btnBuffer_->setFont(listBox_[0]->font());
    btnBuffer_->installEventFilter(this);

    gswLib_ = MakeSwitch(wallpaper_, QStringLiteral("gswLib"), pictures.greenLamp, QPoint(484, 486),
                         QStringLiteral("Mode Library/Page"));
    connect(gswLib_, &controls::Tzografsw::clicked, this,
            [this] { Toggle(gswLib_); });

    labLib_ = MakeLabel(wallpaper_, QStringLiteral("labLib"), QStringLiteral("_______________"),
                        QRect(517, 483, 130, 18), QStringLiteral("Library Name "));
    labLib_->installEventFilter(this);

    labPagelib_ = new controls::Tzopotlab(wallpaper_);
    labPagelib_->setObjectName(QStringLiteral("labPagelib"));
    labPagelib_->setMin(kFirstPageNumber);
    labPagelib_->setMax(kLastPageNumber);
    labPagelib_->setCursorRange(200);
    labPagelib_->setState(kFirstPageNumber);
    labPagelib_->setGeometry(656, 480, 48, 24);
    labPagelib_->setAlignment(Qt::AlignCenter);
    {
        QFont font = labPagelib_->font();
        font.setBold(true);
        font.setPixelSize(16);
        labPagelib_->setFont(font);
        QPalette palette = labPagelib_->palette();
        palette.setColor(QPalette::WindowText, ColourFromValue(kCurrentBankColour));
        labPagelib_->setPalette(palette);
    }
    connect(labPagelib_, &controls::Tzopotlab::changed, this, &TfrmMain::labPagelibChange);

    // The two mode lamps say which mode they light for, and the page number that it is dragged.
    MakeLegend(wallpaper_, QStringLiteral("labPerformLegend"), QStringLiteral("FUNC"), gswPerform_, 36);
    MakeLegend(wallpaper_, QStringLiteral("labLibLegend"), QStringLiteral("PAGE"), gswLib_, 36);
    MakeLegend(wallpaper_, QStringLiteral("labPageHint"),
               QString::fromUtf8("\u25B2 drag \u25BC"), labPagelib_, 48);
    labPagelib_->setCursor(labPagelib_->mouvement() == controls::Mouvement::posVertical
                               ? Qt::SizeVerCursor
                               : Qt::SizeHorCursor);

    gswTypes_ = MakeSwitch(wallpaper_, QStringLiteral("gswTypes"), pictures.types, QPoint(714, 484),
                           QStringLiteral("Types Selector"));
    connect(gswTypes_, &controls::Tzografsw::clicked, this, &TfrmMain::gswTypesClick);
    gswLibSelFinder_ = MakeSwitch(wallpaper_, QStringLiteral("gswLibSelFinder"),
                                  pictures.firstSelected, QPoint(762, 485), QStringLiteral("Find First Selected"));
    gswLibLastFinder_ = MakeSwitch(wallpaper_, QStringLiteral("gswLibLastFinder"),
                                   pictures.lastSelected, QPoint(784, 485), QStringLiteral("Find Last Selected"));
    connect(gswLibSelFinder_, &controls::Tzografsw::clicked, this,
            &TfrmMain::gswLibSelFinderClick);
    connect(gswLibLastFinder_, &controls::Tzografsw::clicked, this,
            &TfrmMain::gswLibLastFinderClick);

    const QString selectedHint = QStringLiteral("Selected Sounds in Library");
    const QString usedHint = QStringLiteral("Number of Sounds in Library");
    MakeLabel(wallpaper_, QStringLiteral("Label2"), QStringLiteral("Selected"),
              QRect(820, 479, 52, 13), selectedHint);
    labSel_ = MakeLabel(wallpaper_, QStringLiteral("labSel"), QStringLiteral("0"),
                        QRect(873, 479, 50, 13), selectedHint);
    MakeLabel(wallpaper_, QStringLiteral("Label1"), QStringLiteral("Available"),
              QRect(820, 492, 52, 13), usedHint);
    labOcc_ = MakeLabel(wallpaper_, QStringLiteral("labOcc"), QStringLiteral("0"),
                        QRect(873, 492, 50, 13), usedHint);
}

void TfrmMain::BuildLibraryLists() {
    for (int k = 0; k < kLibraryListCount; ++k) {
        const QColor background = ColourFromValue(k < 2 ? kShownPageColour : 0);
        lstLib_[k] = MakeVoiceList(
            wallpaper_, QStringLiteral("lstLib%1").arg(k + 1),
            QRect(kLibraryListLeft + kLibraryPitch * k, kLibraryListTop, kLibraryListWidth,
                  kLibraryListLines * kVoiceLineHeight),
            background);
        connect(lstLib_[k], &VoiceListBox::customContextMenuRequested, this,
                [this, k](QPoint at) {
                    menuLibraryList_ = k;
                    ShowMenu(menus_.popLib(), lstLib_[k], at);
                });
    }
}

void TfrmMain::ApplyBaseValues(const BaseValues& values) {
    const BaseValues defaults;
    move(ReachablePlace(QPoint(values.mainLeft, values.mainTop), size(),
                        QPoint(defaults.mainLeft, defaults.mainTop)));
    gswPerform_->setState(values.functionsMode);
    gswLib_->setState(values.pageMode);
}

void TfrmMain::CollectBaseValues(BaseValues& values) const {
    values.mainTop = y();
    values.mainLeft = x();
    values.functionsMode = gswPerform_->state();
    values.pageMode = gswLib_->state();
}

int TfrmMain::CurrentBank() const {
    for (int n = 0; n < kBankCount; ++n)
        if (gswBank_[n]->state() != 0) return n;
    return 0;
}

int TfrmMain::PageNumber() const { return labPagelib_->state(); }

void TfrmMain::SetPageNumber(int page) {
    labPagelib_->setState(page);
    RefreshLibraryLists();
}

bool TfrmMain::FunctionsMode() const { return gswPerform_->state() != 0; }
bool TfrmMain::PageMode() const { return gswLib_->state() != 0; }

void TfrmMain::RefreshBankList(int bank) {
    if (bank < 0) bank = CurrentBank();
    if (bank >= kBankCount) return;
    listBox_[bank]->Fill(banks_[bank]->Page().data(), kBankListLines);
}

void TfrmMain::SetBankLabel(int bank, const QString& text) {
    if (bank < 0) bank = CurrentBank();
    if (bank >= kBankCount) return;
    nombank_[bank]->setText(text);
}

void TfrmMain::RefreshLibraryLists() {
    ShowLibraryPages();
    const auto counts = library_.CountSelection();
    labSel_->setText(QString::number(counts.selected));
    labOcc_->setText(QString::number(counts.used));
    emit libraryRefreshed();
}

void TfrmMain::ShowLibraryPages() {
    const int first = PageNumber();
    for (int k = 0; k < kLibraryListCount; ++k) {
        const core::VoicePage& page = library_.Page(first + k / 2);
        lstLib_[k]->Fill(page.data() + (k % 2) * kLibraryListLines, kLibraryListLines);
    }
}

void TfrmMain::SelectBank(int bank) {
    if (bank < 0 || bank >= kBankCount) return;
    gsw_b1Click(gswBank_[bank]);
}

void TfrmMain::gsw_b1Click(QObject* sender) {
    const auto isBank = [sender, this](int n) {
        return sender == gswBank_[n] || sender == nombank_[n];
    };
    // Anything else would leave no bank current.
    bool known = false;
    for (int n = 0; n < kBankCount; ++n) known = known || isBank(n);
    if (!known) return;
    for (int n = 0; n < kBankCount; ++n) {
        if (isBank(n)) {
            gswBank_[n]->setState(1);
            SetTextColour(nombank_[n], kCurrentBankColour);
        } else {
            gswBank_[n]->setState(0);
            SetTextColour(nombank_[n], kOtherBankColour);
        }
    }
    // After the switches: a module select that cannot be sent leaves exactly one bank lit.
    if (midiWindow_) midiWindow_->SelectModuleShowingErrors(CurrentBank());
}

void TfrmMain::labPagelibChange() { ShowLibraryPages(); }

void TfrmMain::gswLibSelFinderClick() {
    ShowFoundPage(gswLibSelFinder_, library_.FirstSelectedPage());
}

void TfrmMain::gswLibLastFinderClick() {
    ShowFoundPage(gswLibLastFinder_, library_.LastSelectedPage());
}

void TfrmMain::ShowFoundPage(controls::Tzografsw* finder, int page) {
    controls::PressedWhile pressed(finder);
    platform::WaitTicks(10);
    if (page >= 0) SetPageNumber(std::min(page, kLastPageNumber));
}

bool TfrmMain::TypeCharacter(QChar typed) {
    const MainKey key = MainKeyFor(typed);
    switch (key.command) {
    case MainKeyCommand::None:
        return false;
    case MainKeyCommand::SelectBank:
        SelectBank(key.bank);
        break;
    case MainKeyCommand::NextPage:
    case MainKeyCommand::PreviousPage:
    case MainKeyCommand::FirstPage:
    case MainKeyCommand::LastPage:
        SetPageNumber(PageAfter(key.command, PageNumber()));
        break;
    case MainKeyCommand::ToggleLibraryMode:
        Toggle(gswLib_);
        break;
    case MainKeyCommand::ToggleFunctionMode:
        Toggle(gswPerform_);
        break;
    case MainKeyCommand::FindFirstSelected:
        emit gswLibSelFinder_->clicked();
        break;
    case MainKeyCommand::OpenMidiConfig:
        btnMidiConfClick();
        break;
    case MainKeyCommand::OpenOptions:
        btnOptionsClick();
        break;
    case MainKeyCommand::OpenMarkers:
        gswTypesClick();
        break;
    case MainKeyCommand::OpenAbout:
        btnInfosClick();
        break;
    }
    return true;
}

void TfrmMain::SetGetAllBanksEnabled(bool enabled) {
    menus_.SetAllowedByMode(QStringLiteral("GetAllBankMIDIClick"), enabled);
}

void TfrmMain::SetMemoryProtectEnabled(bool enabled) {
    menus_.SetAllowedByMode(QStringLiteral("MemoryProtectOffClick"), enabled);
}

void TfrmMain::SetShowSystemInfoEnabled(bool enabled) {
    menus_.SetAllowedByMode(QStringLiteral("ShowSystemInfoClick"), enabled);
}

void TfrmMain::PressFeedback(controls::Tzografsw* button) {
    controls::PressedWhile pressed(button);
    platform::WaitTicks(10);
}

void TfrmMain::btnInfosClick() {
    Toggle(btnInfos_);
    btnInfos_->repaint();
    if (aboutWindow_) {
        // Over the middle of this window, and focused so Escape closes it straight away.
        aboutWindow_->setGeometry(
            QRect(geometry().center() - aboutWindow_->rect().center(), aboutWindow_->size()));
        aboutWindow_->show();
        aboutWindow_->raise();
        aboutWindow_->activateWindow();
        aboutWindow_->setFocus(Qt::ActiveWindowFocusReason);
    }
    Toggle(btnInfos_);
}

void TfrmMain::btnOptionsClick() {
    PressFeedback(btnOptions_);
    ShowInFront(optionsWindow_);
}

void TfrmMain::gswTypesClick() {
    PressFeedback(gswTypes_);
    ShowInFront(markersWindow_);
}

void TfrmMain::ShowInFront(QWidget* window) {
    if (!window) return;
    window->show();  // already open: brought to the front
    window->raise();
    window->activateWindow();
}

void TfrmMain::btnMidiConfClick() {
    controls::PressedWhile pressed(btnMidiConf_);
    if (midiWindow_) midiWindow_->exec();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    emit closing();
    QWidget::closeEvent(event);
}

void TfrmMain::ShowMenu(QMenu* menu, QWidget* owner, QPoint local) {
    menu->popup(owner->mapToGlobal(local));
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget || widget->window() != this) break;
        const QString text = static_cast<QKeyEvent*>(event)->text();
        if (text.size() == 1 && TypeCharacter(text.front())) return true;
        break;
    }
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() != Qt::LeftButton) break;
        for (int n = 0; n < kBankCount; ++n) {
            if (watched == nombank_[n]) {
                gsw_b1Click(nombank_[n]);
                return true;
            }
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (watched == btnBuffer_ && mouse->button() == Qt::RightButton) {
            emit editBufferRequested();
            return true;
        }
        break;
    }
    case QEvent::ContextMenu: {
        auto* request = static_cast<QContextMenuEvent*>(event);
        for (int n = 0; n < kBankCount; ++n) {
            if (watched == nombank_[n]) {
                menuBank_ = n;
                ShowMenu(menus_.popBank2(), nombank_[n], request->pos());
                return true;
            }
        }
        if (watched == btnTrash_) {
            menuBank_ = -1;
            ShowMenu(menus_.popAllBank(), btnTrash_, request->pos());
            return true;
        }
        if (watched == labLib_) {
            ShowMenu(menus_.popLib2(), labLib_, request->pos());
            return true;
        }
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace librarian
