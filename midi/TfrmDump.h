#pragma once
// The progress window of long operations: a small black tool window, centred on the screen,
// with a picture and a red three-digit counter. Created at start-up and shown only while an
// operation runs; each user sets its own caption ("Get All", "Send All", ...).

#include <QWidget>

#include "midi/DumpProgress.h"

class QLabel;

namespace controls {
class TDigitBox;
class TTitleBar;
}

namespace midi {

inline constexpr char kDumpCaption[] = "Dump";
inline constexpr int kDumpClientWidth = 104;
inline constexpr int kDumpClientHeight = 51;

class TfrmDump : public QWidget, public DumpProgress {
    Q_OBJECT
public:
    explicit TfrmDump(QWidget* parent = nullptr);

    // DumpProgress.
    void SetCaption(const std::string& caption) override;
    // Centres, shows and paints the window before returning: the window thread blocks while
    // the operation runs, so nothing would paint it later.
    void Show() override;
    void SetCounter(int value) override;
    void Hide() override;
    void SetCancelable(bool cancelable) override;
    bool CancelRequested() override;

    controls::TDigitBox* DigitBox1 = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* picture_ = nullptr;
    controls::TTitleBar* bar_ = nullptr;
    bool cancelable_ = false;
    bool canceled_ = false;
};

}  // namespace midi
