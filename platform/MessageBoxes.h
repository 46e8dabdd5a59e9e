#pragma once
// Modal message boxes as the data objects and windows see them. The program installs an
// implementation that shows real boxes; tests install a recorder so nothing blocks.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Question: a box that asks before something is done (a question-mark icon).
enum class BoxKind { Information, Warning, Error, Question };
enum class BoxAnswer { Ok, Cancel };

class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A box with a single OK button.
    virtual void Show(BoxKind kind, std::string_view title, std::string_view text) = 0;
    // A box with OK and Cancel buttons; returns the button pressed.
    virtual BoxAnswer AskOkCancel(BoxKind kind, std::string_view title, std::string_view text) = 0;
    // A box with Yes and No buttons; Ok stands for Yes. Where no such box is made, the OK and
    // Cancel box asks instead.
    virtual BoxAnswer AskYesNo(BoxKind kind, std::string_view title, std::string_view text) {
        return AskOkCancel(kind, title, text);
    }
};

// The implementation in use. Until one is installed, boxes are written to standard error
// and questions are answered with OK.
MessageBoxes& Boxes();
// Installs an implementation (not owned); nullptr restores the fallback.
void SetBoxes(MessageBoxes* boxes);

// Shorthands for the common calls.
inline void ShowError(std::string_view title, std::string_view text) {
    Boxes().Show(BoxKind::Error, title, text);
}
inline void ShowWarning(std::string_view title, std::string_view text) {
    Boxes().Show(BoxKind::Warning, title, text);
}
inline void ShowInformation(std::string_view title, std::string_view text) {
    Boxes().Show(BoxKind::Information, title, text);
}
// Asks with OK and Cancel under a question icon; true for OK.
inline bool ConfirmOkCancel(std::string_view title, std::string_view text) {
    return Boxes().AskOkCancel(BoxKind::Question, title, text) == BoxAnswer::Ok;
}

// Asks with Yes and No under a question icon; true for Yes.
inline bool ConfirmYesNo(std::string_view title, std::string_view text) {
    return Boxes().AskYesNo(BoxKind::Question, title, text) == BoxAnswer::Ok;
}

// Records every box instead of showing it; answers questions with a preset answer.
// Installs itself for its lifetime.
class RecordingBoxes final : public MessageBoxes {
public:
    struct Box {
        BoxKind kind;
        std::string title;
        std::string text;
        bool question;
        bool operator==(const Box&) const = default;
    };

    RecordingBoxes();
    ~RecordingBoxes() override;
    RecordingBoxes(const RecordingBoxes&) = delete;
    RecordingBoxes& operator=(const RecordingBoxes&) = delete;

    void Show(BoxKind kind, std::string_view title, std::string_view text) override;
    BoxAnswer AskOkCancel(BoxKind kind, std::string_view title, std::string_view text) override;

    const std::vector<Box>& Shown() const { return shown_; }
    void Clear() { shown_.clear(); }
    void SetAnswer(BoxAnswer answer) { answer_ = answer; }

private:
    MessageBoxes* previous_;
    std::vector<Box> shown_;
    BoxAnswer answer_ = BoxAnswer::Ok;
};

}  // namespace platform
