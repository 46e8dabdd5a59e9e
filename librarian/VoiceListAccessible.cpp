#include "librarian/VoiceListAccessible.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

#include "librarian/VoiceList.h"

namespace librarian {

namespace {

// One line of a list. Outlives nothing: the list's interface deletes its lines with it, and a
// line past the list's end is no longer valid.
class VoiceLineAccessible final : public QAccessibleInterface {
public:
    VoiceLineAccessible(VoiceListBox* list, int line) : list_(list), line_(line) {}

    bool isValid() const override { return list_ && line_ < list_->Count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override {
        QAccessibleInterface* list = parent();
        return list ? list->window() : nullptr;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(list_.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name && isValid() ? list_->Line(line_) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override {
        if (!isValid()) return {};
        const QRect local = list_->LineRect(line_);
        return {list_->mapToGlobal(local.topLeft()), local.size()};
    }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        state.selectable = true;
        state.selected = list_->Highlighted(line_);
        state.invisible = !list_->isVisible();
        state.disabled = !list_->isEnabled();
        return state;
    }

private:
    QPointer<VoiceListBox> list_;
    int line_;
};

class VoiceListAccessible final : public QAccessibleWidget {
public:
    explicit VoiceListAccessible(VoiceListBox* list) : QAccessibleWidget(list, QAccessible::List) {}
    ~VoiceListAccessible() override {
        for (QAccessible::Id id : std::as_const(lines_)) QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return List()->Count(); }
    QAccessibleInterface* child(int index) const override {
        if (index < 0 || index >= childCount()) return nullptr;
        // Registered once per line, so a reader keeps talking to the same item.
        auto known = lines_.constFind(index);
        if (known != lines_.cend()) return QAccessible::accessibleInterface(*known);
        auto* line = new VoiceLineAccessible(List(), index);
        lines_.insert(index, QAccessible::registerAccessibleInterface(line));
        return line;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        for (auto it = lines_.cbegin(); it != lines_.cend(); ++it)
            if (QAccessible::accessibleInterface(it.value()) == child) return it.key();
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        return child(List()->LineAt(List()->mapFromGlobal(QPoint(x, y))));
    }

private:
    VoiceListBox* List() const { return static_cast<VoiceListBox*>(widget()); }

    mutable QHash<int, QAccessible::Id> lines_;
};

QAccessibleInterface* MakeVoiceListAccessible(const QString& key, QObject* object) {
    if (key != QLatin1String(VoiceListBox::staticMetaObject.className())) return nullptr;
    auto* list = qobject_cast<VoiceListBox*>(object);
    return list ? new VoiceListAccessible(list) : nullptr;
}

}  // namespace

void InstallVoiceListAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(MakeVoiceListAccessible);
        return true;
    }();
    (void)installed;
}

}  // namespace librarian
