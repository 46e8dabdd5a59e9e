#pragma once
// The small name window: one field, no buttons. Enter closes it; Esc empties the field and
// leaves it open. Whoever opens it reads the field when it closes, however it was closed (its
// close button included). The markers window renames markers with it, the editor voices.

#include <QDialog>

class QLineEdit;

namespace librarian {

class TNameForm : public QDialog {
    Q_OBJECT
public:
    explicit TNameForm(QWidget* parent = nullptr);

    QLineEdit* edtName() const { return edtName_; }

    // Shows the window modally with `caption` and the name's first ten characters in the
    // field; returns the field's text when the window closes.
    QString Edit(const QString& caption, const QString& name);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QLineEdit* edtName_ = nullptr;
};

}  // namespace librarian
