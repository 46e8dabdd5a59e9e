#include "librarian/TfrmExtract.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScreen>

#include "controls/Artwork.h"
#include "controls/PanelParts.h"
#include "controls/TWallpaper.h"
#include "controls/Tzografsw.h"
#include "controls/Tzopotlab.h"
#include "controls/TTitleBar.h"

namespace librarian {

namespace {

constexpr int kClientWidth = 226;
constexpr int kClientHeight = 168;
const QString kFromPageText = QStringLiteral("From Page");
const QString kSelectedPrefix = QStringLiteral(" Selected = ");

}  // namespace

TfrmExtract::TfrmExtract(const QLabel* selectedCount, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      selectedCount_(selectedCount) {
    setObjectName(QStringLiteral("frmExtract"));
    setWindowTitle(QString::fromLatin1(kExtractorCaption));
    setModal(true);
    setFixedSize(kClientWidth, kClientHeight);
    BuildControls();
    controls::WearCaptionBar(this, controls::kNoCaptionButtons);
    ShowSwitches();
}

void TfrmExtract::BuildControls() {
    using namespace controls::panel;
    auto* w = new controls::TWallpaper(this);
    w->setGeometry(rect());
    w->setWallpaper(controls::artwork::WallpaperTile());

    // The page range, and the button that starts the export.
    Group(w, QRect(6, 6, 214, 64));
    Label4 = Caption(w, kFromPageText, 14, 12, kHeadingStyle);
    Label4->setObjectName(QStringLiteral("Label4"));
    Label5 = Caption(w, QStringLiteral("to Page"), 102, 12, kHeadingStyle);
    Label5->setObjectName(QStringLiteral("Label5"));
    MinPage = LabelKnob(w, 0, 999, 300, QRect(14, 36, 56, 22));
    MinPage->setObjectName(QStringLiteral("MinPage"));
    MinPage->setState(settings_.minPage);
    MaxPage = LabelKnob(w, 0, 999, 200, QRect(102, 36, 56, 22));
    MaxPage->setObjectName(QStringLiteral("MaxPage"));
    MaxPage->setState(settings_.maxPage);
    // The drags cover the thousand pages in a few hundred pixels; the wheel and the arrow keys
    // pick a single page.
    for (controls::Tzopotlab* knob : {MinPage, MaxPage}) knob->setFineSteps(true);
    // Either knob may pass the other: a range that ends before it starts writes nothing.
    gswGoExtract = SmallPushButton(w, 182, 22);
    gswGoExtract->setObjectName(QStringLiteral("gswGoExtract"));
    SetHint(gswGoExtract, Caption(w, QStringLiteral("Go"), 185, 48, kCaptionStyle),
            QStringLiteral("Start Extractor"));
    connect(gswGoExtract, &controls::Tzografsw::clicked, this, &TfrmExtract::gswGoExtractClick);

    // What to write and how.
    Group(w, QRect(6, 76, 214, 86));
    const struct {
        controls::Tzografsw** lamp;
        QLabel** label;
        const char* name;
        const char* text;
        void (TfrmExtract::*click)();
        int y;
    } rows[] = {
        {&gswExtractSel, &ExtractSelLabel, "gswExtractSel", "Extract Selected",
         &TfrmExtract::gswExtractSelClick, 84},
        {&gswAsSysex, &AsSysexLabel, "gswAsSysex", "Save As Sysex", &TfrmExtract::gswAsSysexClick,
         110},
        {&swgPerfSave, &PerfSaveLabel, "swgPerfSave", "Save Functions ",
         &TfrmExtract::swgPerfSaveClick, 136},
    };
    for (const auto& row : rows) {
        controls::Tzografsw* lamp = Lamp(w, 14, row.y);
        lamp->setObjectName(QString::fromLatin1(row.name));
        QLabel* label = Caption(w, QString::fromLatin1(row.text), 36, row.y);
        label->setCursor(Qt::PointingHandCursor);
        label->installEventFilter(this);
        connect(lamp, &controls::Tzografsw::clicked, this, row.click);
        *row.lamp = lamp;
        *row.label = label;
    }
}

ExtractorSettings TfrmExtract::Ask() {
    exec();
    return Settings();
}

ExtractorSettings TfrmExtract::Settings() const {
    ExtractorSettings settings = settings_;
    settings.minPage = MinPage->state();
    settings.maxPage = MaxPage->state();
    return settings;
}

void TfrmExtract::gswExtractSelClick() {
    settings_.ToggleExtractSelected();
    const bool range = !settings_.extractSelected;
    for (controls::Tzopotlab* knob : {MinPage, MaxPage}) {
        knob->setEnabled(range);
        knob->setVisible(range);
    }
    Label5->setVisible(range);
    if (range)
        SetLabel4(kFromPageText);
    else
        FormShow();
    ShowSwitches();
}

void TfrmExtract::gswAsSysexClick() {
    settings_.ToggleAsSysex();
    ShowSwitches();
}

void TfrmExtract::swgPerfSaveClick() {
    settings_.ToggleWithFunctions();
    ShowSwitches();
}

void TfrmExtract::gswGoExtractClick() { accept(); }

void TfrmExtract::FormShow() {
    if (settings_.extractSelected)
        SetLabel4(kSelectedPrefix + (selectedCount_ ? selectedCount_->text() : QString()));
}

void TfrmExtract::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormShow();
    QDialog::showEvent(event);
}

bool TfrmExtract::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        if (watched == ExtractSelLabel) {
            gswExtractSelClick();
            return true;
        }
        if (watched == AsSysexLabel) {
            gswAsSysexClick();
            return true;
        }
        if (watched == PerfSaveLabel) {
            swgPerfSaveClick();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmExtract::ShowSwitches() {
    gswExtractSel->setState(settings_.extractSelected ? 1 : 0);
    gswAsSysex->setState(settings_.asSysex ? 1 : 0);
    swgPerfSave->setState(settings_.withFunctions ? 1 : 0);
}

void TfrmExtract::SetLabel4(const QString& text) {
    Label4->setText(text);
    Label4->adjustSize();
}

}  // namespace librarian
