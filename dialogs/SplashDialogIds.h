#pragma once
// The splash screen's template (136); it has no controls of its own to name.

namespace ids::splash {

constexpr int kTemplate = 136;

} // namespace ids::splash
