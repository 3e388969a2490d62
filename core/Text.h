#pragma once
// Text rules the whole program shares: the 8-bit files' one byte a character
// (Latin-1), and the one key by which identifiers and list entries compare
// ignoring case.

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace core {

// 8-bit file text as shown: each byte the character of that code.
QString fromLatin1(std::string_view bytes);

// The file's bytes for a text: one byte a character, or none when a character
// lies beyond Latin-1 and an 8-bit file cannot hold it.
std::optional<std::string> toLatin1(const QString& text);

// The key two texts compare by when case does not count ("kla", "KLA" and
// "Kla" share one): the text in upper case, as the lists show identifiers,
// then case-folded. Sorting by it gives the case-insensitive order of the
// lists.
QString caseKey(const QString& text);

// A number as the leg dialog's fields show it: general form, up to 15
// significant digits, "." whatever the locale.
QString numberText(double value);
// The value that text stands for: what a figure reads as once shown (the
// nearest double to its 15 significant digits). Sums and checks made of such
// values agree with the texts the pilot saw. Non-finite values stay.
double asShown(double value);

} // namespace core
