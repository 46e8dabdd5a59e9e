#pragma once
// The options the library commands and the markers window read at the moment they run; the
// options window supplies them in the program, tests set them directly.

#include <string>

#include "core/Nomsyn.h"

namespace librarian {

class LibrarianOptions {
public:
    virtual ~LibrarianOptions() = default;
    virtual bool MultiSelect() const = 0;
    virtual core::DoublesOptions Doubles() const = 0;
    // The name search's text as name bytes, and its position 0-10 (0: anywhere).
    virtual std::string SearchText() const = 0;
    virtual int SearchPosition() const = 0;
};

// The options as a window holds them that offers the same four accessors (the options window).
template <class Window>
class WindowOptions final : public LibrarianOptions {
public:
    explicit WindowOptions(const Window& window) : window_(window) {}
    bool MultiSelect() const override { return window_.MultiSelect(); }
    core::DoublesOptions Doubles() const override { return window_.Doubles(); }
    std::string SearchText() const override { return window_.SearchText(); }
    int SearchPosition() const override { return window_.SearchPosition(); }

private:
    const Window& window_;
};

// Options held as plain values: the defaults of a first start (Second on, the rest off).
class FixedLibrarianOptions final : public LibrarianOptions {
public:
    bool MultiSelect() const override { return multiSelect; }
    core::DoublesOptions Doubles() const override { return doubles; }
    std::string SearchText() const override { return searchText; }
    int SearchPosition() const override { return searchPosition; }

    bool multiSelect = false;
    core::DoublesOptions doubles{.first = false, .second = true, .erase = false};
    std::string searchText;
    int searchPosition = 0;
};

}  // namespace librarian
