// A JSON value for the --json output: null, true/false, whole numbers, strings,
// arrays and objects whose keys keep the order they were added in.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace kavlen::cli {

class JsonValue {
  public:
    using Array = std::vector<JsonValue>;
    using Object = std::vector<std::pair<std::string, JsonValue>>;

    JsonValue() = default; // null
    JsonValue(bool b) : value_(b) {}
    JsonValue(int n) : value_(std::int64_t(n)) {}
    JsonValue(std::int64_t n) : value_(n) {}
    JsonValue(std::size_t n) : value_(std::int64_t(n)) {}
    JsonValue(const char* s) : value_(std::string(s)) {}
    JsonValue(std::string s) : value_(std::move(s)) {}
    JsonValue(Array a) : value_(std::move(a)) {}
    JsonValue(Object o) : value_(std::move(o)) {}

    static JsonValue array() { return JsonValue(Array{}); }
    static JsonValue object() { return JsonValue(Object{}); }

    // Adds a member to an object (the value must be one).
    JsonValue& set(std::string key, JsonValue value);
    // Appends to an array (the value must be one).
    JsonValue& push(JsonValue value);

    // Two-space indented text, keys in insertion order, UTF-8 kept as it is
    // (invalid bytes become U+FFFD so the output is always valid JSON).
    std::string dump() const;

  private:
    void dumpTo(std::string& out, int indent) const;
    std::variant<std::nullptr_t, bool, std::int64_t, std::string, Array, Object> value_ = nullptr;
};

// A JSON string literal of `text`, quotes included.
std::string jsonQuoted(std::string_view text);

// An array of whole numbers.
JsonValue jsonInts(const std::vector<int>& values);

} // namespace kavlen::cli
