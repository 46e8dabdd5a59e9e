#pragma once
// Named steps of change to the program's voice data, each undone and redone on request.
//
// The history keeps a copy of what it watches as it stood after the last step. Committing a
// step compares the watched memory with that copy and keeps only what differs: the slots that
// changed, the changed stretch of each byte block, the texts that changed. Voices are kept
// once however many steps hold them, so a library-wide sort costs a few bytes per slot (the
// same voices in another order), not a second library.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>

#include "core/VoiceFormats.h"

namespace core {

class UndoHistory {
public:
    struct Limits {
        std::size_t steps = 100;              // the oldest step goes beyond this many
        std::size_t bytes = std::size_t(200) << 20;  // and while the steps hold more than this
    };

    UndoHistory();
    explicit UndoHistory(Limits limits);
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // What the history watches, given before the first Reset. The memory must outlive it.
    // Pages are compared slot by slot.
    void WatchPages(std::span<VoicePage* const> pages);
    void WatchBytes(std::span<Byte> bytes);
    // A text kept elsewhere (a name, a label), read and put back through the two calls.
    void WatchText(std::function<std::string()> read,
                   std::function<void(const std::string&)> write);

    // Takes the watched state as it is now as the start: nothing to undo or redo.
    void Reset();
    // Records what changed since the last step as one step named `name`; false (and no step)
    // when nothing changed. A new step ends what could be redone.
    bool Commit(const std::string& name);
    // The same, but one step with the last one (which it renames): the second half of one
    // gesture, such as the drop of a drag whose press was a click. Without a last step it is
    // a Commit.
    bool CommitJoined(const std::string& name);
    // Takes what changed since the last step into the copy without a step: changes that are
    // not to be undone here (a save's new name, an edit that another history records).
    void Absorb();

    bool CanUndo() const;
    bool CanRedo() const;
    // The name of the step Undo (Redo) would take back; empty when there is none.
    std::string UndoName() const;
    std::string RedoName() const;
    // Puts back the watched state from before the last step (after the next undone one);
    // false when there is nothing to take back. Changes made since the last step are first
    // recorded as a step of their own, so nothing is lost on the way.
    bool Undo();
    bool Redo();

    std::size_t UndoCount() const;
    // The memory the steps and their voices take, for the limit and its benchmark.
    std::size_t BytesHeld() const;

private:
    class Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace core
