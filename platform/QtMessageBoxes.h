#pragma once
// Message boxes shown as real modal Qt boxes, over the active window.

#include "platform/MessageBoxes.h"

namespace platform {

class QtMessageBoxes final : public MessageBoxes {
public:
    void Show(BoxKind kind, std::string_view title, std::string_view text) override;
    BoxAnswer AskOkCancel(BoxKind kind, std::string_view title, std::string_view text) override;
    BoxAnswer AskYesNo(BoxKind kind, std::string_view title, std::string_view text) override;
};

}  // namespace platform
