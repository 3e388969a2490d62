#pragma once
// Control identifiers of the Help dialog (template 132).

#include "platform/ControlIds.h"

// X(name, id) for every identifier below; the template test walks this list.
#define SKYVANE_HELP_DIALOG_IDS(X)                                                                 \
    X(OK, 1)                                                                                       \
    X(EASY_START, 1033)                                                                            \
    X(SHORTCUTS, 1034)

namespace ids::help {

constexpr int kTemplate = 132;

SKYVANE_CONTROL_IDS(SKYVANE_HELP_DIALOG_IDS)

} // namespace ids::help
