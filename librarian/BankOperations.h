#pragma once
// What the bank menus do to the data, without any window: copies between banks and into the
// library, the name search, and the three "all banks" file commands. The menus' handlers
// (librarian/BankCommands.h) read the window's state and options, call these and refresh.

#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/Bankson.h"
#include "core/Libson.h"
#include "librarian/OptionSwitches.h"

namespace librarian {

// Title and text of the warning for the banks "Copy All Banks to Library" leaves out in Page
// mode because their page would lie past the library's last page.
inline constexpr std::string_view kPagesPastTheEndText =
    " Banks not Copied. The Library ends with Page 999 !";

// Used (mask 1) or selected (mask 2) slots of `bank` into the library: in Page mode into the
// free slots of page `page`, in Library mode into the first free slots of the whole library.
// A full destination shows its own "Copy Warning".
void CopyBankToLibrary(const core::Bankson& bank, core::Libson& library, core::Byte mask,
                       bool pageMode, int page);

// Every bank's used slots into the library, bank 0 first. In Page mode bank i goes to page
// `page` + i; banks whose page would lie past page 999 are left out (nothing of them is
// written anywhere) and one "Copy Warning" says how many.
void CopyAllBanksToLibrary(std::span<core::Bankson* const> banks, core::Libson& library,
                           bool pageMode, int page);

// "Copy Bank -> Bank" from `source` into `destination` as `mode` says: Swap exchanges, Copy
// overwrites, Add To puts the used source voices into the free destination slots (without
// function records). With functions, Swap and Copy take the function records along.
// Nothing happens when both are the same bank.
void CopyBankToBank(core::Bankson& source, core::Bankson& destination, CopyMode mode,
                    bool withFunctions);

// "Find by Name" in one bank: without Multi Select the bank's selection is cleared first.
// Returns the number of matches.
int SearchBankByName(core::Bankson& bank, std::string_view text, int position, bool multiSelect);

// The files "Save All Banks" writes for `count` banks, from the name the user gave: the bank
// number goes before the extension ("SET.DX7" gives SET1.DX7 ... ), so each file keeps a
// backup of its own (SET1.BAK ...); a name without extension gets the number at its end and the
// save adds ".DX7".
std::vector<std::filesystem::path> SaveAllPaths(const std::filesystem::path& given, int count);

// The files "Load All Banks" takes for a typed pattern (folder and name pattern): the matching
// regular files in the order a person reads them, at most `count`.
std::vector<std::filesystem::path> LoadAllPaths(const std::filesystem::path& pattern, int count);

}  // namespace librarian
