#pragma once
// The voice lists of the main window: a fixed-pitch font that fits ten characters in the list's
// width, 13-pixel lines, several highlighted lines; the highlight follows the slots' selected
// bits and is set only by the program.

#include <QAccessible>
#include <QColor>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <vector>

#include "controls/ColourValue.h"

class QListWidget;
class QRect;

namespace core {
struct VoiceSlot;
}

namespace librarian {

inline constexpr int kVoiceLineHeight = 13;

using controls::ColourFromValue;  // colour numbers as stored: red in the low byte

// Draws its lines itself, as the style draws an item view's lines: the main window shows twenty
// of these, and twenty item views (each with a model, a selection model, a viewport and two
// scroll bars) were a good part of what the window cost to make and show.
class VoiceListBox final : public QWidget {
    Q_OBJECT
public:
    explicit VoiceListBox(QWidget* parent = nullptr);

    int Count() const { return int(lines_.size()); }
    QString Line(int line) const { return lines_.value(line); }
    bool Highlighted(int line) const;
    QRect LineRect(int line) const;
    // The line under `local`, or -1 where there is none.
    int LineAt(QPoint local) const;

    // Replaces the lines by `count` slots from `lineSlots`; a line is highlighted exactly when
    // its slot is selected.
    void Fill(const core::VoiceSlot* lineSlots, int count);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Presses are the list's own (clicks and drags are watched on it), never its parent's.
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    // Tells assistive technology (screen readers) what changed on a line.
    void Announce(int line, QAccessible::Event what);

    QStringList lines_;
    std::vector<bool> highlighted_;
};

VoiceListBox* MakeVoiceList(QWidget* parent, const QString& name, const QRect& geometry,
                            QColor background);

// An item view in the voice lists' look, for lists the user works in (a current line, a
// highlight of their own, keys).
QListWidget* MakeVoiceListView(QWidget* parent, const QString& name, const QRect& geometry,
                               QColor background);

}  // namespace librarian
