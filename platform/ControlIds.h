#pragma once
// Identifier headers list a template's controls once, as X(name, id) entries
// of a macro; SKYVANE_CONTROL_IDS(LIST) turns such a list into an enum of
// those names, and the template test walks the same list.

#define SKYVANE_CONTROL_ID_ENUMERATOR(name, id) name = id,
#define SKYVANE_CONTROL_IDS(LIST) enum : int { LIST(SKYVANE_CONTROL_ID_ENUMERATOR) };
