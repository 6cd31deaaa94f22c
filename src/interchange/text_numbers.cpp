#include "interchange/text_numbers.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace kavlen {

namespace {

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Strips blanks and one leading '+'; refuses spellings of infinity and NaN,
// which from_chars would accept.
std::optional<std::string_view> numberBody(std::string_view text) {
    text = trimText(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    const std::size_t first = text.front() == '-' ? 1 : 0;
    if (first >= text.size())
        return std::nullopt;
    const char c = text[first];
    if (!(c >= '0' && c <= '9') && c != '.')
        return std::nullopt;
    return text;
}

// Power of ten of the first significant digit of a well-formed number.
long long decimalExponent(std::string_view number) {
    const std::size_t e = number.find_first_of("eE");
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view digits = number.substr(e + 1);
        if (!digits.empty() && digits.front() == '+')
            digits.remove_prefix(1);
        const auto [p, ec] =
            std::from_chars(digits.data(), digits.data() + digits.size(), exponent);
        if (ec == std::errc::result_out_of_range)
            exponent = digits.starts_with('-') ? -(1LL << 40) : (1LL << 40);
        number = number.substr(0, e);
    }
    const std::size_t point = std::min(number.find('.'), number.size());
    const std::size_t first = number.find_first_of("123456789");
    if (first == std::string_view::npos)
        return exponent;
    const long long position = first < point ? static_cast<long long>(point - first - 1)
                                             : -static_cast<long long>(first - point);
    return exponent + position;
}

template <typename T> std::optional<T> parseFloating(std::string_view text) {
    const auto body = numberBody(text);
    if (!body)
        return std::nullopt;
    T value{};
    const char* end = body->data() + body->size();
    const auto [p, ec] = std::from_chars(body->data(), end, value);
    if (p != end)
        return std::nullopt;
    if (ec == std::errc::result_out_of_range) {
        // Too large gives infinity with its sign, too small gives zero.
        if (decimalExponent(*body) < 0)
            return T(0);
        return body->front() == '-' ? -std::numeric_limits<T>::infinity()
                                    : std::numeric_limits<T>::infinity();
    }
    if (ec != std::errc())
        return std::nullopt;
    return value;
}

} // namespace

std::string_view trimText(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::string formatFixed(double value, int decimals) {
    char buffer[64];
    const auto [p, ec] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (ec != std::errc())
        return "0";
    return std::string(buffer, p);
}

std::optional<int> parseInteger(std::string_view text) {
    text = trimText(text);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    if (text.empty())
        return std::nullopt;
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [p, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || p != end)
        return std::nullopt;
    return value;
}

std::optional<double> parseReal(std::string_view text) {
    return parseFloating<double>(text);
}
std::optional<float> parseSingle(std::string_view text) {
    return parseFloating<float>(text);
}

void throwNotInteger(std::string_view text) {
    throw ConversionError{"'" + std::string(text) + "' is not a valid integer value"};
}
void throwNotReal(std::string_view text) {
    throw ConversionError{"'" + std::string(text) + "' is not a valid floating point value"};
}

int integerOrThrow(std::string_view text) {
    const auto v = parseInteger(text);
    if (!v)
        throwNotInteger(text);
    return *v;
}
double realOrThrow(std::string_view text) {
    const auto v = parseReal(text);
    if (!v)
        throwNotReal(text);
    return *v;
}
float singleOrThrow(std::string_view text) {
    const auto v = parseSingle(text);
    if (!v)
        throwNotReal(text);
    return *v;
}

double roundHalfEven(double value) {
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff > 0.5)
        return lower + 1;
    if (diff < 0.5)
        return lower;
    return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::optional<std::int16_t> meshCoordinate(double value) {
    if (!std::isfinite(value))
        return std::nullopt;
    const double r = roundHalfEven(value);
    if (r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return static_cast<std::int16_t>(r);
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::string lowerAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace kavlen
