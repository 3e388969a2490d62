#pragma once
// Control identifiers of the About dialog (template 129).

#include "platform/ControlIds.h"

// X(name, id) for every identifier below; the template test walks this list.
#define SKYVANE_ABOUT_DIALOG_IDS(X)                                                                \
    X(OK, 1)                                                                                       \
    X(DISCLAIMER, 1001)

namespace ids::about {

constexpr int kTemplate = 129;

SKYVANE_CONTROL_IDS(SKYVANE_ABOUT_DIALOG_IDS)

} // namespace ids::about
