#include "platform/MessageBoxes.h"

#include <cstdio>

namespace platform {
namespace {

const char* KindName(BoxKind kind) {
    switch (kind) {
    case BoxKind::Information: return "information";
    case BoxKind::Warning: return "warning";
    case BoxKind::Error: return "error";
    case BoxKind::Question: return "question";
    }
    return "?";
}

// Used before any window exists (and by command-line tools): prints the box.
class StderrBoxes final : public MessageBoxes {
public:
    void Show(BoxKind kind, std::string_view title, std::string_view text) override {
        std::fprintf(stderr, "[%s] %.*s: %.*s\n", KindName(kind), int(title.size()), title.data(),
                     int(text.size()), text.data());
    }
    BoxAnswer AskOkCancel(BoxKind kind, std::string_view title, std::string_view text) override {
        Show(kind, title, text);
        return BoxAnswer::Ok;
    }
    // Nobody can answer: the default button.
    BoxAnswer AskYesNo(BoxKind kind, std::string_view title, std::string_view text) override {
        Show(kind, title, text);
        return BoxAnswer::No;
    }
};

StderrBoxes fallbackBoxes;
MessageBoxes* currentBoxes = &fallbackBoxes;

}  // namespace

MessageBoxes& Boxes() { return *currentBoxes; }

void SetBoxes(MessageBoxes* boxes) { currentBoxes = boxes ? boxes : &fallbackBoxes; }

RecordingBoxes::RecordingBoxes() : previous_(&Boxes()) { SetBoxes(this); }

RecordingBoxes::~RecordingBoxes() { SetBoxes(previous_ == this ? nullptr : previous_); }

void RecordingBoxes::Show(BoxKind kind, std::string_view title, std::string_view text) {
    shown_.push_back({kind, std::string(title), std::string(text), false});
}

BoxAnswer RecordingBoxes::AskOkCancel(BoxKind kind, std::string_view title, std::string_view text) {
    shown_.push_back({kind, std::string(title), std::string(text), true});
    return answer_;
}

BoxAnswer RecordingBoxes::AskYesNo(BoxKind kind, std::string_view title, std::string_view text) {
    shown_.push_back({kind, std::string(title), std::string(text), true});
    return answer_ == BoxAnswer::Yes ? BoxAnswer::Yes : BoxAnswer::No;
}

}  // namespace platform
