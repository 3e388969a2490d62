#pragma once
// Control identifiers of the leg dialog (template 102), shared by the dialog,
// its tests and the benchmarks.

#include "platform/ControlIds.h"

// X(name, id) for every identifier below; the template test walks this list.
#define SKYVANE_LEG_DIALOG_IDS(X)                                                                  \
    X(QUIT, 2)                                                                                     \
    X(TC, 1000)                                                                                    \
    X(WD, 1001)                                                                                    \
    X(WV, 1002)                                                                                    \
    X(TAS, 1003)                                                                                   \
    X(VAR, 1004)                                                                                   \
    X(MD, 1005)                                                                                    \
    X(WCA, 1006)                                                                                   \
    X(TH, 1007)                                                                                    \
    X(MH, 1008)                                                                                    \
    X(CH, 1009)                                                                                    \
    X(GS, 1010)                                                                                    \
    X(ETE, 1011)                                                                                   \
    X(DIST, 1012)                                                                                  \
    X(GPH, 1014)                                                                                   \
    X(FUEL, 1015)                                                                                  \
    X(OUT, 1016)                                                                                   \
    X(FUSED, 1018)                                                                                 \
    X(BURNT, 1019)                                                                                 \
    X(TOTDIST, 1020)                                                                               \
    X(RUN, 1021)                                                                                   \
    X(NEXT, 1022)                                                                                  \
    X(RESET, 1023)                                                                                 \
    X(ABOUT, 1024)                                                                                 \
    X(ETA, 1025)                                                                                   \
    X(TCBTN, 1026)                                                                                 \
    X(SAVE, 1028)                                                                                  \
    X(HELP, 1029)                                                                                  \
    X(TOOLS, 1030)                                                                                 \
    X(LOG, 1031)                                                                                   \
    X(PLAN, 1032)

namespace ids::leg {

constexpr int kTemplate = 102;

SKYVANE_CONTROL_IDS(SKYVANE_LEG_DIALOG_IDS)

} // namespace ids::leg
