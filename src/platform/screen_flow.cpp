#include "platform/screen_flow.h"

#include <QtGlobal>

#include <array>

namespace orven {

namespace {

std::array<std::function<void()>, 3> actions;

} // namespace

void setScreenStep(ScreenStep step, std::function<void()> action) {
    actions.at(static_cast<std::size_t>(step)) = std::move(action);
}

void goToScreen(ScreenStep step) {
    const std::function<void()>& action = actions.at(static_cast<std::size_t>(step));
    if (!action) {
        qFatal("ORVEN: screen step %d is not wired", static_cast<int>(step));
    }
    action();
}

} // namespace orven
