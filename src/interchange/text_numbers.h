// Numbers in the interchange text formats: always a point as decimal separator,
// whatever the process locale, and the conversion messages the importers show.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kavlen {

// Blanks and control characters at both ends removed.
std::string_view trimText(std::string_view text);

// Fixed notation with `decimals` digits after the point, e.g. "-12.340000".
std::string formatFixed(double value, int decimals);

// Whole-text conversions; blanks around the number are allowed, a leading '+' too.
// Infinity and NaN spellings are not numbers.
std::optional<int> parseInteger(std::string_view text);
std::optional<double> parseReal(std::string_view text);
// Single precision, as the MQO and OBJ models hold their coordinates. A value
// beyond the float range gives infinity (so that range checks refuse it).
std::optional<float> parseSingle(std::string_view text);

// Thrown by the readers when a number cannot be converted; the message is the
// runtime's conversion text.
struct ConversionError {
    std::string message;
};
// "'%s' is not a valid integer value" / "'%s' is not a valid floating point value".
[[noreturn]] void throwNotInteger(std::string_view text);
[[noreturn]] void throwNotReal(std::string_view text);
int integerOrThrow(std::string_view text);
double realOrThrow(std::string_view text);
float singleOrThrow(std::string_view text);

// Nearest integer, halves to even.
double roundHalfEven(double value);

// round(value) as a 16-bit mesh coordinate, or nothing when it does not fit.
std::optional<std::int16_t> meshCoordinate(double value);

// Upper-cased copy (ASCII letters only).
std::string upperAscii(std::string_view text);
std::string lowerAscii(std::string_view text);

} // namespace kavlen
