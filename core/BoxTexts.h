#pragma once
// Texts and titles of the boxes the data objects show when a file or copy goes wrong.

#include <string>
#include <string_view>

#include "platform/MessageBoxes.h"

namespace core {

inline constexpr std::string_view kFileErrorTitle = "File Error";
inline constexpr std::string_view kFileFormatErrorText = "File Format Error - Abort Loading";
inline constexpr std::string_view kReadFileErrorText = "Read File Error - Abort Loading";
inline constexpr std::string_view kWriteFileErrorText = "Write File Error - Abort Saving";

inline constexpr std::string_view kCopyWarningTitle = "Copy Warning";
// Shown after the decimal count of voices copied before the destination ran full.
inline constexpr std::string_view kBankFullText = " Sounds Copied. Destination Bank is Full !";
inline constexpr std::string_view kPageFullText = " Sounds Copied. Destination Page is Full !";

// The warning shown when a copy stopped at a full destination after `copied` voices.
inline void ShowCopyWarning(int copied, std::string_view fullText) {
    platform::ShowWarning(kCopyWarningTitle, std::to_string(copied) + std::string(fullText));
}

}  // namespace core
