#pragma once
// Control identifiers of the conversions dialog (template 140), shared by the
// dialog and its tests.

#include "platform/ControlIds.h"

// X(name, id) for every identifier below; the template test walks this list.
#define SKYVANE_CONVERSIONS_DIALOG_IDS(X)                                                          \
    X(QUIT, 2)                                                                                     \
    X(SM, 1037)                                                                                    \
    X(FT, 1038)                                                                                    \
    X(NM, 1039)                                                                                    \
    X(KM, 1040)                                                                                    \
    X(M, 1041)                                                                                     \
    X(SM2, 1042)                                                                                   \
    X(F, 1044)                                                                                     \
    X(C, 1045)                                                                                     \
    X(LB, 1046)                                                                                    \
    X(KG, 1047)                                                                                    \
    X(ABACUS, 1048)

namespace ids::conversions {

constexpr int kTemplate = 140;

SKYVANE_CONTROL_IDS(SKYVANE_CONVERSIONS_DIALOG_IDS)

} // namespace ids::conversions
