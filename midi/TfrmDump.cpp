#include "midi/TfrmDump.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QWindow>

#include "controls/DialogHabits.h"
#include "controls/Artwork.h"
#include "controls/TDigitBox.h"
#include "controls/TTitleBar.h"

namespace midi {
namespace {

constexpr int kPictureSize = 40;
constexpr int kMargin = 6;
constexpr int kCounterDigits = 3;
constexpr int kCounterStepMs = 100;
// The longest the window waits for the window system to map it before painting anyway.
constexpr int kExposeWaitMs = 1000;

}  // namespace

TfrmDump::TfrmDump(QWidget* parent) : QWidget(parent) {
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(kDumpCaption);
    setFixedSize(kDumpClientWidth, kDumpClientHeight);
    setAutoFillBackground(true);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);

    picture_ = new QLabel(this);
    picture_->setGeometry(kMargin, (kDumpClientHeight - kPictureSize) / 2, kPictureSize, kPictureSize);
    const qreal ratio = controls::artwork::ScreenRatio();
    QPixmap plug = controls::artwork::MidiPlug(ratio).scaled(
        QSize(kPictureSize, kPictureSize) * ratio, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    plug.setDevicePixelRatio(ratio);
    picture_->setPixmap(plug);

    DigitBox1 = new controls::TDigitBox(this);
    DigitBox1->setDigits(kCounterDigits);
    DigitBox1->setDelay(kCounterStepMs);
    DigitBox1->setColor1(QColor(255, 0, 0));
    DigitBox1->setColor2(Qt::black);
    DigitBox1->move(kDumpClientWidth - kMargin - DigitBox1->width(),
                    (kDumpClientHeight - DigitBox1->height()) / 2);
    // A close button only while an operation that can stop runs (SetCancelable).
    bar_ = controls::WearCaptionBar(this, controls::kNoCaptionButtons);
}

void TfrmDump::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void TfrmDump::Show() {
    // While an operation that can stop runs, the window holds the program's input: nothing else
    // can change what the operation works on. Modality changes only while hidden (Qt keeps a
    // list of the modal windows shown).
    if (!isVisible()) setWindowModality(cancelable_ ? Qt::ApplicationModal : Qt::NonModal);
    controls::CentreOnScreen(*this);
    show();
    raise();
    // Until the window system has mapped the window a paint goes nowhere; user input waits.
    QElapsedTimer waited;
    waited.start();
    while (!(windowHandle() && windowHandle()->isExposed()) && waited.elapsed() < kExposeWaitMs)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    repaint();
    // Hands the painted window to the window system now, not at the next turn of the loop.
    QGuiApplication::sync();
}

void TfrmDump::SetCounter(int value) {
    const auto shown = static_cast<std::uint32_t>(value < 0 ? 0 : value);
    DigitBox1->setTarget(shown);
    DigitBox1->setValue(shown);
    QGuiApplication::sync();
}

void TfrmDump::SetCancelable(bool cancelable) {
    cancelable_ = cancelable;
    canceled_ = false;
    bar_->SetButtons(cancelable ? controls::kCaptionClose : controls::kNoCaptionButtons);
    // Esc reaches the window wherever the focus is.
    if (cancelable)
        qApp->installEventFilter(this);
    else
        qApp->removeEventFilter(this);
}

bool TfrmDump::CancelRequested() {
    if (cancelable_) QCoreApplication::processEvents();
    return canceled_;
}

void TfrmDump::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (cancelable_) canceled_ = true;
}

bool TfrmDump::eventFilter(QObject* watched, QEvent* event) {
    if (cancelable_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        canceled_ = true;
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmDump::Hide() {
    hide();
    setWindowModality(Qt::NonModal);
    setWindowTitle(kDumpCaption);
}

}  // namespace midi
