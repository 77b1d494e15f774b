#include "core/design_case.h"

namespace orven {

namespace {
DesignCase& instance() {
    static DesignCase theCase;
    return theCase;
}
} // namespace

DesignCase& designCase() {
    return instance();
}

void resetDesignCase() {
    instance() = DesignCase{};
}

} // namespace orven
