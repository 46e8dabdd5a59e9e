#pragma once
// An error after which the program can't go on. Whoever throws it has already told the user
// in a box; the program's entry point catches it and ends without a further box.

#include <stdexcept>

namespace core {

class FatalError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

}  // namespace core
