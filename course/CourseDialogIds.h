#pragma once
// Control identifiers of the course dialog (template 130), shared by the
// dialog, its tests and the benchmarks.

#include "platform/ControlIds.h"

// X(name, id) for every identifier below; the template test walks this list.
#define SKYVANE_COURSE_DIALOG_IDS(X)                                                               \
    X(OK, 1)                                                                                       \
    X(QUIT, 2)                                                                                     \
    X(ADD, 3)                                                                                      \
    X(DEP_LAT, 1000)                                                                               \
    X(DEP_LON, 1001)                                                                               \
    X(ARR_LAT, 1002)                                                                               \
    X(ARR_LON, 1003)                                                                               \
    X(DEPARTURE, 1035)                                                                             \
    X(ARRIVAL, 1036)                                                                               \
    X(MAG_VAR, 1037)                                                                               \
    X(USE_VAR, 1038)                                                                               \
    X(FIND_DEP, 1039)                                                                              \
    X(FIND_ARR, 1040)

namespace ids::course {

constexpr int kTemplate = 130;

SKYVANE_CONTROL_IDS(SKYVANE_COURSE_DIALOG_IDS)

} // namespace ids::course
