#pragma once
// Numbers as text, independent of the user's locale: a "." is always the
// decimal point. Qt sets the C library's locale from the environment, so the
// printf and strtod families cannot be used for field or file contents.

#include <optional>
#include <string>
#include <string_view>

namespace core {

// The leading decimal number of a text, the way the C library's strtod reads
// one, restricted to decimal notation: white space is skipped, then an optional
// sign, digits with an optional point, an optional exponent (e2, E-3).
// Whatever follows is ignored; a text with no leading number gives 0.
// Magnitudes beyond the double range give plus or minus infinity, tiny ones 0.
double parseLeadingNumber(std::string_view text) noexcept;

// A text that is one number and nothing else (white space around it allowed),
// as an edit field must hold. Empty text, trailing characters and values that
// do not fit a finite double give no value.
std::optional<double> parseNumber(std::string_view text) noexcept;

// printf's "%.<decimals>f": exact decimal rounding of the double's value
// (exact ties go to the even digit, as glibc does). Non-finite values are
// written as inf, -inf or nan.
std::string formatFixed(double value, int decimals);

// printf's "%.15g": general form, up to 15 significant digits, no trailing
// zeros. Negative zero shows as 0.
std::string formatGeneral(double value);

} // namespace core
