#include "app/RunGuarded.h"

#include <exception>

#include "core/FatalError.h"
#include "platform/MessageBoxes.h"

namespace app {

int RunGuarded(const std::function<int()>& steps) {
    try {
        return steps();
    } catch (const core::FatalError&) {
        // Its box has been shown where it happened.
    } catch (const std::exception& error) {
        platform::ShowError(kProgramTitle, error.what());
    } catch (...) {
        platform::ShowError(kProgramTitle, "Unknown error");
    }
    return kFailureStatus;
}

}  // namespace app
