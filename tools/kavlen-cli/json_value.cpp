#include "json_value.h"

#include <algorithm>
#include <cstdio>

namespace kavlen::cli {

JsonValue& JsonValue::set(std::string key, JsonValue value) {
    std::get<Object>(value_).emplace_back(std::move(key), std::move(value));
    return *this;
}

JsonValue& JsonValue::push(JsonValue value) {
    std::get<Array>(value_).push_back(std::move(value));
    return *this;
}

namespace {

// Length of the valid UTF-8 sequence starting at text[i], or 0 when it is not one.
std::size_t utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char c = byte(i);
    std::size_t n = 0;
    std::uint32_t code = 0;
    if (c >= 0xC2 && c <= 0xDF) {
        n = 2;
        code = c & 0x1F;
    } else if (c >= 0xE0 && c <= 0xEF) {
        n = 3;
        code = c & 0x0F;
    } else if (c >= 0xF0 && c <= 0xF4) {
        n = 4;
        code = c & 0x07;
    } else {
        return 0;
    }
    if (i + n > text.size())
        return 0;
    for (std::size_t k = 1; k < n; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i + k) & 0x3F);
    }
    const bool overlong = (n == 3 && code < 0x800) || (n == 4 && code < 0x10000);
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return overlong || surrogate || code > 0x10FFFF ? 0 : n;
}

void newline(std::string& out, int indent) {
    out += '\n';
    out.append(static_cast<std::size_t>(indent) * 2, ' ');
}

} // namespace

std::string jsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const std::size_t n = utf8Length(text, i);
            if (n == 0) {
                out += "\xEF\xBF\xBD";
                ++i;
            } else {
                out.append(text.substr(i, n));
                i += n;
            }
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
                out += escaped;
            } else {
                out += static_cast<char>(c);
            }
        }
        ++i;
    }
    return out + "\"";
}

JsonValue jsonInts(const std::vector<int>& values) {
    JsonValue array = JsonValue::array();
    for (int v : values)
        array.push(v);
    return array;
}

void JsonValue::dumpTo(std::string& out, int indent) const {
    if (std::holds_alternative<std::nullptr_t>(value_)) {
        out += "null";
    } else if (const bool* b = std::get_if<bool>(&value_)) {
        out += *b ? "true" : "false";
    } else if (const std::int64_t* n = std::get_if<std::int64_t>(&value_)) {
        out += std::to_string(*n);
    } else if (const std::string* s = std::get_if<std::string>(&value_)) {
        out += jsonQuoted(*s);
    } else if (const Array* a = std::get_if<Array>(&value_)) {
        if (a->empty()) {
            out += "[]";
            return;
        }
        // Arrays of plain values (numbers, strings) stay on one line.
        const bool flat = std::all_of(a->begin(), a->end(), [](const JsonValue& v) {
            return !std::holds_alternative<Array>(v.value_) &&
                   !std::holds_alternative<Object>(v.value_);
        });
        out += '[';
        if (flat) {
            for (std::size_t i = 0; i < a->size(); ++i) {
                out += i ? ", " : "";
                (*a)[i].dumpTo(out, indent + 1);
            }
            out += ']';
            return;
        }
        for (std::size_t i = 0; i < a->size(); ++i) {
            out += i ? "," : "";
            newline(out, indent + 1);
            (*a)[i].dumpTo(out, indent + 1);
        }
        newline(out, indent);
        out += ']';
    } else {
        const Object& o = std::get<Object>(value_);
        if (o.empty()) {
            out += "{}";
            return;
        }
        out += '{';
        for (std::size_t i = 0; i < o.size(); ++i) {
            out += i ? "," : "";
            newline(out, indent + 1);
            out += jsonQuoted(o[i].first);
            out += ": ";
            o[i].second.dumpTo(out, indent + 1);
        }
        newline(out, indent);
        out += '}';
    }
}

std::string JsonValue::dump() const {
    std::string out;
    dumpTo(out, 0);
    return out;
}

} // namespace kavlen::cli
