#include "core/NumberText.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace core {
namespace {

bool isSpace(char c) noexcept {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(char c) noexcept {
    return c >= '0' && c <= '9';
}

// Finds the longest prefix of text (after leading white space) that forms a
// decimal number and converts it. Returns the number of characters consumed
// (0 when there is no number).
std::size_t scanNumber(std::string_view text, double& value) noexcept {
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t mantissa = i;
    std::size_t intDigits = 0;
    std::size_t fracDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
        ++i;
        ++intDigits;
    }
    if (i < text.size() && text[i] == '.') {
        std::size_t j = i + 1;
        while (j < text.size() && isDigit(text[j])) {
            ++j;
            ++fracDigits;
        }
        if (intDigits > 0 || fracDigits > 0)
            i = j;
    }
    if (intDigits == 0 && fracDigits == 0) {
        value = 0.0;
        return 0;
    }
    long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            expNegative = text[j] == '-';
            ++j;
        }
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) {
                if (exponent < 100000)
                    exponent = exponent * 10 + (text[j] - '0');
                ++j;
            }
            if (expNegative)
                exponent = -exponent;
            i = j;
        }
    }
    const char* first = text.data() + mantissa;
    const char* last = text.data() + i;
    double magnitude = 0.0;
    const auto result = std::from_chars(first, last, magnitude, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // Decide between overflow and underflow from the decimal exponent of
        // the first significant digit.
        long leadingExp = static_cast<long>(intDigits);
        std::size_t k = mantissa;
        while (k < i && (text[k] == '0' || text[k] == '.')) {
            if (text[k] == '0')
                --leadingExp;
            ++k;
        }
        magnitude = leadingExp + exponent > 0 ? std::numeric_limits<double>::infinity() : 0.0;
    }
    value = negative ? -magnitude : magnitude;
    return i;
}

} // namespace

double parseLeadingNumber(std::string_view text) noexcept {
    double value = 0.0;
    scanNumber(text, value);
    return value;
}

std::optional<double> parseNumber(std::string_view text) noexcept {
    double value = 0.0;
    std::size_t used = scanNumber(text, value);
    if (used == 0 || !std::isfinite(value))
        return std::nullopt;
    while (used < text.size() && isSpace(text[used]))
        ++used;
    if (used != text.size())
        return std::nullopt;
    return value;
}

std::string formatFixed(double value, int decimals) {
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    // 309 integer digits at most, a sign, a point and the decimals.
    char buffer[330 + 32];
    if (decimals < 0)
        decimals = 0;
    if (decimals > 30)
        decimals = 30;
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    return std::string(buffer, result.ptr);
}

std::string formatGeneral(double value) {
    if (value == 0.0)
        return "0";
    if (std::isnan(value))
        return "nan";
    if (std::isinf(value))
        return value < 0 ? "-inf" : "inf";
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return std::string(buffer, result.ptr);
}

} // namespace core
