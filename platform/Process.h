#pragma once

#include <QStringList>

namespace platform {

// Starts the first of the programs (looked up on PATH) that can be started,
// without arguments, detached: nothing waits for it or holds on to it.
// False when none starts.
bool startFirstProgram(const QStringList& programs);

} // namespace platform
