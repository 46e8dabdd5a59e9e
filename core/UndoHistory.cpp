#include "core/UndoHistory.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <unordered_map>
#include <utility>
#include <vector>

namespace core {
namespace {

// Voices held by the steps, each distinct voice once with a count of the places that hold it.
class VoicePool {
public:
    using Id = std::uint32_t;

    // The voice's id, its count raised by `holders`.
    Id Intern(const PackedVoice& voice, std::uint32_t holders) {
        const std::uint64_t hash = HashOf(voice);
        const auto [first, last] = index_.equal_range(hash);
        for (auto it = first; it != last; ++it) {
            Entry& entry = entries_[it->second];
            if (entry.voice == voice) {
                entry.holders += holders;
                return it->second;
            }
        }
        Id id;
        if (free_.empty()) {
            id = Id(entries_.size());
            entries_.push_back({voice, holders});
        } else {
            id = free_.back();
            free_.pop_back();
            entries_[id] = {voice, holders};
        }
        index_.emplace(hash, id);
        ++live_;
        return id;
    }

    void Release(Id id) {
        Entry& entry = entries_[id];
        if (--entry.holders != 0) return;
        const auto [first, last] = index_.equal_range(HashOf(entry.voice));
        for (auto it = first; it != last; ++it) {
            if (it->second == id) {
                index_.erase(it);
                break;
            }
        }
        free_.push_back(id);
        --live_;
    }

    const PackedVoice& Voice(Id id) const { return entries_[id].voice; }

    // The entry and its share of the index (a node and a bucket) for each voice held.
    std::size_t Bytes() const { return live_ * (sizeof(Entry) + 48); }

private:
    struct Entry {
        PackedVoice voice;
        std::uint32_t holders;
    };

    // Sixteen words, each mixed in with one multiply: voices differ anywhere, often only in a
    // few bytes, so every byte must reach the hash.
    static std::uint64_t HashOf(const PackedVoice& voice) {
        std::uint64_t hash = 0x9E3779B97F4A7C15ull;
        for (std::size_t at = 0; at < kPackedVoiceSize; at += 8) {
            std::uint64_t word;
            std::memcpy(&word, voice.data() + at, 8);
            hash = (hash ^ word) * 0xFF51AFD7ED558CCDull;
            hash ^= hash >> 29;
        }
        return hash;
    }

    std::vector<Entry> entries_;
    std::vector<Id> free_;
    std::unordered_multimap<std::uint64_t, Id> index_;
    std::size_t live_ = 0;
};

struct SlotChange {
    std::uint32_t position;  // 32 x watched page + slot
    VoicePool::Id before;
    VoicePool::Id after;
    Byte beforeStatus;
    Byte afterStatus;
};

struct ByteChange {
    std::uint32_t block;
    std::uint32_t offset;
    std::vector<Byte> before;
    std::vector<Byte> after;
};

struct TextChange {
    std::uint32_t text;
    std::string before;
    std::string after;
};

struct Step {
    std::string name;
    std::vector<SlotChange> slots;
    std::vector<ByteChange> bytes;
    std::vector<TextChange> texts;

    bool Empty() const { return slots.empty() && bytes.empty() && texts.empty(); }
    std::size_t Bytes() const {
        std::size_t total = sizeof(Step) + name.size() + slots.capacity() * sizeof(SlotChange);
        for (const ByteChange& change : bytes)
            total += sizeof(ByteChange) + change.before.capacity() + change.after.capacity();
        for (const TextChange& change : texts)
            total += sizeof(TextChange) + change.before.capacity() + change.after.capacity();
        return total;
    }
};

struct WatchedText {
    std::function<std::string()> read;
    std::function<void(const std::string&)> write;
    std::string copy;
};

}  // namespace

class UndoHistory::Impl {
public:
    explicit Impl(Limits limits) : limits_(limits) {}

    std::vector<VoicePage*> pages;
    std::vector<VoicePage> pageCopies;
    std::vector<std::span<Byte>> blocks;
    std::vector<std::vector<Byte>> blockCopies;
    std::vector<WatchedText> texts;

    void Reset() {
        ClearSteps(undo_);
        ClearSteps(redo_);
        pageCopies.resize(pages.size());
        for (std::size_t i = 0; i < pages.size(); ++i) pageCopies[i] = *pages[i];
        blockCopies.resize(blocks.size());
        for (std::size_t i = 0; i < blocks.size(); ++i)
            blockCopies[i].assign(blocks[i].begin(), blocks[i].end());
        for (WatchedText& text : texts) text.copy = text.read();
    }

    // Brings the copy up to date with the watched memory, recording the differences into
    // `step` when one is given.
    void TakeChanges(Step* step) {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            VoicePage& live = *pages[i];
            VoicePage& copy = pageCopies[i];
            if (std::memcmp(live.data(), copy.data(), kPageSize) == 0) continue;
            for (std::size_t s = 0; s < kSlotsPerPage; ++s) {
                if (std::memcmp(&live[s], &copy[s], kSlotSize) == 0) continue;
                if (step) step->slots.push_back(RecordSlot(i * kSlotsPerPage + s, copy[s], live[s]));
                copy[s] = live[s];
            }
        }
        for (std::size_t i = 0; i < blocks.size(); ++i) {
            const std::span<Byte> live = blocks[i];
            std::vector<Byte>& copy = blockCopies[i];
            const auto first = std::mismatch(live.begin(), live.end(), copy.begin());
            if (first.first == live.end()) continue;
            const std::size_t from = std::size_t(first.first - live.begin());
            const auto last = std::mismatch(live.rbegin(), live.rend(), copy.rbegin());
            const std::size_t to = live.size() - std::size_t(last.first - live.rbegin());
            if (step) {
                step->bytes.push_back({std::uint32_t(i), std::uint32_t(from),
                                       std::vector<Byte>(copy.begin() + from, copy.begin() + to),
                                       std::vector<Byte>(live.begin() + from, live.begin() + to)});
            }
            std::copy(live.begin() + from, live.begin() + to, copy.begin() + from);
        }
        for (std::size_t i = 0; i < texts.size(); ++i) {
            std::string now = texts[i].read();
            if (now == texts[i].copy) continue;
            if (step) step->texts.push_back({std::uint32_t(i), texts[i].copy, now});
            texts[i].copy = std::move(now);
        }
    }

    bool Commit(const std::string& name) {
        Step step;
        step.name = name;
        TakeChanges(&step);
        if (step.Empty()) return false;
        ClearSteps(redo_);
        step.slots.shrink_to_fit();
        stepBytes_ += step.Bytes();
        undo_.push_back(std::move(step));
        while (undo_.size() > limits_.steps || (undo_.size() > 1 && BytesHeld() > limits_.bytes)) {
            stepBytes_ -= undo_.front().Bytes();
            ReleaseVoices(undo_.front());
            undo_.pop_front();
        }
        return true;
    }

    bool CommitJoined(const std::string& name) {
        if (undo_.empty() || !redo_.empty()) return Commit(name);
        // The copy goes back to before the last step, and the step with it: the next commit
        // then holds both.
        Step last = std::move(undo_.back());
        undo_.pop_back();
        stepBytes_ -= last.Bytes();
        Apply(last, /*before=*/true, /*watchedToo=*/false);
        ReleaseVoices(last);
        if (Commit(name)) return true;
        return false;  // the gesture's two halves undid each other
    }

    bool Undo() {
        Commit("Change");
        if (undo_.empty()) return false;
        Step step = std::move(undo_.back());
        undo_.pop_back();
        Apply(step, /*before=*/true);
        redo_.push_back(std::move(step));
        return true;
    }

    bool Redo() {
        Commit("Change");  // a change since the last step ends what could be redone
        if (redo_.empty()) return false;
        Step step = std::move(redo_.back());
        redo_.pop_back();
        Apply(step, /*before=*/false);
        undo_.push_back(std::move(step));
        return true;
    }

    const std::deque<Step>& UndoSteps() const { return undo_; }
    const std::vector<Step>& RedoSteps() const { return redo_; }
    std::size_t BytesHeld() const { return stepBytes_ + pool_.Bytes(); }

private:
    SlotChange RecordSlot(std::size_t position, const VoiceSlot& before, const VoiceSlot& after) {
        SlotChange change{std::uint32_t(position), 0, 0, before.status, after.status};
        if (before.voice == after.voice) {
            change.before = change.after = pool_.Intern(before.voice, 2);
        } else {
            change.before = pool_.Intern(before.voice, 1);
            change.after = pool_.Intern(after.voice, 1);
        }
        return change;
    }

    // Writes one side of the step into the copy, and into the watched memory unless told not to.
    void Apply(const Step& step, bool before, bool watchedToo = true) {
        for (const SlotChange& change : step.slots) {
            const VoiceSlot slot{pool_.Voice(before ? change.before : change.after),
                                 before ? change.beforeStatus : change.afterStatus};
            const std::size_t page = change.position / kSlotsPerPage;
            const std::size_t at = change.position % kSlotsPerPage;
            if (watchedToo) (*pages[page])[at] = slot;
            pageCopies[page][at] = slot;
        }
        for (const ByteChange& change : step.bytes) {
            const std::vector<Byte>& value = before ? change.before : change.after;
            if (watchedToo) std::copy(value.begin(), value.end(), blocks[change.block].begin() + change.offset);
            std::copy(value.begin(), value.end(), blockCopies[change.block].begin() + change.offset);
        }
        for (const TextChange& change : step.texts) {
            WatchedText& text = texts[change.text];
            const std::string& value = before ? change.before : change.after;
            if (watchedToo) {
                text.write(value);
                text.copy = text.read();
            } else {
                text.copy = value;
            }
        }
    }

    void ReleaseVoices(const Step& step) {
        for (const SlotChange& change : step.slots) {
            pool_.Release(change.before);
            pool_.Release(change.after);
        }
    }

    template <class Steps>
    void ClearSteps(Steps& steps) {
        for (const Step& step : steps) {
            stepBytes_ -= step.Bytes();
            ReleaseVoices(step);
        }
        steps.clear();
    }

    Limits limits_;
    VoicePool pool_;
    std::deque<Step> undo_;
    std::vector<Step> redo_;
    std::size_t stepBytes_ = 0;
};

UndoHistory::UndoHistory() : UndoHistory(Limits{}) {}
UndoHistory::UndoHistory(Limits limits) : impl_(std::make_unique<Impl>(limits)) {}
UndoHistory::~UndoHistory() = default;

void UndoHistory::WatchPages(std::span<VoicePage* const> pages) {
    impl_->pages.insert(impl_->pages.end(), pages.begin(), pages.end());
}

void UndoHistory::WatchBytes(std::span<Byte> bytes) { impl_->blocks.push_back(bytes); }

void UndoHistory::WatchText(std::function<std::string()> read,
                            std::function<void(const std::string&)> write) {
    impl_->texts.push_back({std::move(read), std::move(write), {}});
}

void UndoHistory::Reset() { impl_->Reset(); }
bool UndoHistory::Commit(const std::string& name) { return impl_->Commit(name); }
bool UndoHistory::CommitJoined(const std::string& name) { return impl_->CommitJoined(name); }
void UndoHistory::Absorb() { impl_->TakeChanges(nullptr); }
bool UndoHistory::CanUndo() const { return !impl_->UndoSteps().empty(); }
bool UndoHistory::CanRedo() const { return !impl_->RedoSteps().empty(); }

std::string UndoHistory::UndoName() const {
    return CanUndo() ? impl_->UndoSteps().back().name : std::string();
}

std::string UndoHistory::RedoName() const {
    return CanRedo() ? impl_->RedoSteps().back().name : std::string();
}

bool UndoHistory::Undo() { return impl_->Undo(); }
bool UndoHistory::Redo() { return impl_->Redo(); }
std::size_t UndoHistory::UndoCount() const { return impl_->UndoSteps().size(); }
std::size_t UndoHistory::BytesHeld() const { return impl_->BytesHeld(); }

}  // namespace core
