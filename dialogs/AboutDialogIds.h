#pragma once
// Control identifiers of the About dialog (template 129).

// X(name, id) for every identifier below; the template test walks this list.
#define SKYVANE_ABOUT_DIALOG_IDS(X) \
    X(OK, 1) \
    X(DISCLAIMER, 1001)

namespace ids::about {

constexpr int kTemplate = 129;

enum : int {
#define SKYVANE_DEFINE_ID(name, id) name = id,
    SKYVANE_ABOUT_DIALOG_IDS(SKYVANE_DEFINE_ID)
#undef SKYVANE_DEFINE_ID
};

} // namespace ids::about
