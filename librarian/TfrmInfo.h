#pragma once
// The about box "Infos": the program's name, what it is, and a picture. A click on one of its
// labels, Enter or Escape closes it.

#include <QWidget>

class QLabel;

namespace librarian {

class TfrmInfo : public QWidget {
    Q_OBJECT
public:
    explicit TfrmInfo(QWidget* parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* labName_ = nullptr;
    QLabel* labDescription_ = nullptr;
};

}  // namespace librarian
