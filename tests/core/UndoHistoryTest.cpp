// The undo history on plain memory: what a step keeps, how far back it reaches, what a new
// change does to the steps that could be redone.

#include "core/UndoHistory.h"

#include <array>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace core {
namespace {

struct Watched {
    std::array<VoicePage, 3> pages{};
    std::array<Byte, 16> block{};
    std::string text = "start";
    UndoHistory history;

    Watched() : Watched(UndoHistory::Limits{}) {}
    explicit Watched(UndoHistory::Limits limits) : history(limits) {
        std::vector<VoicePage*> all{&pages[0], &pages[1], &pages[2]};
        history.WatchPages(all);
        history.WatchBytes(block);
        history.WatchText([this] { return text; }, [this](const std::string& t) { text = t; });
        history.Reset();
    }
    std::vector<Byte> Bytes() const {
        std::vector<Byte> all(reinterpret_cast<const Byte*>(pages.data()),
                              reinterpret_cast<const Byte*>(pages.data() + pages.size()));
        all.insert(all.end(), block.begin(), block.end());
        all.insert(all.end(), text.begin(), text.end());
        return all;
    }
};

// Each change touches the edges of what is watched (the first and last slot, the first and
// last byte of a block) and voices held by several steps at once; undone in turn, each state
// comes back in order, and redone, each again.
TEST(UndoHistory, StepsTakeBackEveryStateInTurnAndRedoThemAgain) {
    Watched w;
    std::vector<std::vector<Byte>> states{w.Bytes()};
    const std::vector<std::function<void()>> changes = {
        [&] { w.pages[0][0].voice.fill(7); w.pages[0][0].status = 1; },
        [&] { w.pages[2][31] = w.pages[0][0]; },                            // the same voice again
        [&] { std::swap(w.pages[0][0], w.pages[2][30]); },                  // moved, not changed
        [&] { w.pages[2][31].status = 3; },                                 // status alone
        [&] { w.block.front() = 1; w.block.back() = 2; },
        [&] { w.block[7] = 9; w.text = "renamed"; },
        [&] { w.pages[1][5].voice[127] = 1; w.pages[1][5].voice[0] = 2; w.text = ""; },
    };
    for (const auto& change : changes) {
        change();
        ASSERT_TRUE(w.history.Commit("step"));
        states.push_back(w.Bytes());
    }
    EXPECT_FALSE(w.history.Commit("nothing")) << "no change, no step";
    for (std::size_t n = states.size() - 1; n > 0; --n) {
        ASSERT_TRUE(w.history.Undo());
        EXPECT_EQ(w.Bytes(), states[n - 1]) << "undo to state " << n - 1;
    }
    EXPECT_FALSE(w.history.Undo());
    for (std::size_t n = 1; n < states.size(); ++n) {
        ASSERT_TRUE(w.history.Redo());
        EXPECT_EQ(w.Bytes(), states[n]) << "redo to state " << n;
    }
    EXPECT_FALSE(w.history.Redo());
}

// A change made after an undo ends the redo; one not yet recorded when Undo comes is
// recorded and taken back first, so it is never lost between steps.
TEST(UndoHistory, AChangeAfterAnUndoEndsTheRedoAndAnUnrecordedOneIsTakenBackFirst) {
    Watched w;
    w.block[0] = 1;
    w.history.Commit("First");
    w.block[1] = 1;
    w.history.Commit("Second");
    w.history.Undo();
    EXPECT_EQ(w.history.RedoName(), "Second");
    w.block[2] = 1;  // not recorded
    EXPECT_TRUE(w.history.Undo());
    EXPECT_EQ(w.block[2], 0);
    EXPECT_EQ(w.block[0], 1);
    EXPECT_EQ(w.history.RedoName(), "Change");
    EXPECT_TRUE(w.history.Redo());
    EXPECT_FALSE(w.history.Redo()) << "Second was ended by the change";
    EXPECT_EQ(w.history.UndoName(), "Change");

    w.block[3] = 1;
    w.history.Absorb();  // taken as it is: nothing to undo of it
    EXPECT_TRUE(w.history.Undo());
    EXPECT_EQ(w.block[3], 1);
    EXPECT_EQ(w.block[2], 0);
}

// Beyond the step limit the oldest steps go, and the voices only they held with them; a voice
// a dropped step shared with a kept one (here through a change of status alone) stays, and
// what is left still undoes to the right bytes.
TEST(UndoHistory, TheOldestStepsGoBeyondTheLimitAndTheRestStillUndo) {
    Watched w(UndoHistory::Limits{.steps = 3});
    w.pages[2][0].voice.fill(50);
    w.pages[2][0].status = 1;
    w.history.Absorb();
    std::vector<std::vector<Byte>> states{w.Bytes()};
    const std::vector<std::function<void()>> changes = {
        [&] { w.pages[2][0].status = 3; },          // the voice held by this step...
        [&] { w.pages[1][2].voice.fill(2); },
        [&] { w.pages[2][0].voice.fill(51); },      // ...and by this one, kept
        [&] { w.pages[1][4].voice.fill(4); },       // new voices, where dropped ones were kept
        [&] { w.pages[1][5].voice.fill(5); },
    };
    for (const auto& change : changes) {
        change();
        w.history.Commit("step");
        states.push_back(w.Bytes());
    }
    const std::size_t held = w.history.BytesHeld();
    EXPECT_EQ(w.history.UndoCount(), 3u);
    for (std::size_t n = 5; n > 2; --n) {
        ASSERT_TRUE(w.history.Undo());
        EXPECT_EQ(w.Bytes(), states[n - 1]) << "undo to state " << n - 1;
    }
    EXPECT_FALSE(w.history.Undo());
    w.block[0] = 1;
    w.history.Commit("ends the redo");
    EXPECT_LT(w.history.BytesHeld(), held) << "the voices of the ended steps are let go";
}

}  // namespace
}  // namespace core
