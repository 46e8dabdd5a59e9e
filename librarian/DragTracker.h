#pragma once
// Follows a drag with the left button from the press to the release in ordinary mouse events,
// without a nested drag loop: the press goes on to the widget untouched (so a press-time click
// runs as usual), the drag begins once the pointer has moved the platform's drag distance, the
// pointer shows over each place whether it would take the drop, and the release drops there.
// Escape or a lost mouse grab ends the drag without a drop.

#include <QObject>
#include <QPoint>

#include <functional>
#include <optional>

class QWidget;

namespace librarian {

// The part without the place type, so the Qt meta-object code stays out of the template.
class DragTrackerBase : public QObject {
    Q_OBJECT
public:
    explicit DragTrackerBase(QObject* parent = nullptr) : QObject(parent) {}
    ~DragTrackerBase() override { End(); }
    // Presses on `widget` (for a scroll area, install on its viewport) may begin a drag.
    void Watch(QWidget* widget);
    bool Dragging() const { return dragging_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // A press at `local` in `widget`: true when a drag may begin there.
    virtual bool BeginAt(QWidget* widget, QPoint local) = 0;
    // The pointer is at `global` during the drag: true when the place there takes the drop.
    virtual bool AcceptsAt(QPoint global) = 0;
    virtual void DropAt(QPoint global) = 0;
    virtual void Forget() = 0;

private:
    void ShowPointer(bool accepted);
    void End();

    QWidget* pressedOn_ = nullptr;
    QPoint pressedAt_;
    bool dragging_ = false;
    bool pointerShown_ = false;
};

// `Place` is a source or target; the functions find them and carry out the drop.
template <class Place>
class DragTracker final : public DragTrackerBase {
public:
    struct Hooks {
        // The source a press at a local point of a watched widget picks, if any.
        std::function<std::optional<Place>(QWidget* widget, QPoint local)> sourceAt;
        // The place under a global point, if any.
        std::function<std::optional<Place>(QPoint global)> placeAt;
        std::function<bool(const Place& source, const Place& target)> accepts;
        std::function<void(const Place& source, const Place& target)> drop;
    };
    DragTracker(Hooks hooks, QObject* parent = nullptr)
        : DragTrackerBase(parent), hooks_(std::move(hooks)) {}

    // The source of the drag being followed (set from the press on).
    const std::optional<Place>& Source() const { return source_; }

private:
    bool BeginAt(QWidget* widget, QPoint local) override {
        source_ = hooks_.sourceAt(widget, local);
        return source_.has_value();
    }
    bool AcceptsAt(QPoint global) override {
        const std::optional<Place> target = hooks_.placeAt(global);
        return source_ && target && hooks_.accepts(*source_, *target);
    }
    void DropAt(QPoint global) override {
        const std::optional<Place> target = hooks_.placeAt(global);
        const std::optional<Place> source = source_;
        source_.reset();
        if (source && target && hooks_.accepts(*source, *target)) hooks_.drop(*source, *target);
    }
    void Forget() override { source_.reset(); }

    Hooks hooks_;
    std::optional<Place> source_;
};

}  // namespace librarian
