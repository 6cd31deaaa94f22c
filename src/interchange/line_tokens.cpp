#include "interchange/line_tokens.h"

namespace kavlen {

LineTokens::LineTokens(std::string_view source, bool collapse, char escape, char closeQuote,
                       char openQuote, std::string_view separators) {
    enum class State { Between, Plain, Quoted, Escaped };
    State state = State::Between;
    bool justClosed = false;
    std::string current;
    const auto isSeparator = [&](char c) { return separators.find(c) != std::string_view::npos; };
    for (std::size_t i = 0; i < source.size(); ++i) {
        const char c = source[i];
        switch (state) {
        case State::Between:
            if (isSeparator(c)) {
                if (!collapse && !justClosed && i + 1 < source.size())
                    tokens_.emplace_back();
                justClosed = false;
            } else if (c == openQuote) {
                current.clear();
                state = State::Quoted;
            } else {
                current.assign(1, c);
                state = State::Plain;
            }
            break;
        case State::Plain:
            if (isSeparator(c)) {
                tokens_.push_back(current);
                justClosed = false;
                state = State::Between;
            } else {
                current += c;
            }
            break;
        case State::Quoted:
            if (c == closeQuote) {
                tokens_.push_back(current);
                justClosed = true;
                state = State::Between;
            } else if (c == escape) {
                state = State::Escaped;
            } else {
                current += c;
            }
            break;
        case State::Escaped:
            current += c;
            state = State::Quoted;
            break;
        }
    }
    if (state != State::Between)
        tokens_.push_back(current);
}

const std::string& LineTokens::token(int i) const {
    static const std::string empty;
    if (i < 0 || i >= count())
        return empty;
    return tokens_[std::size_t(i)];
}

LineTokens mqoWords(std::string_view line) {
    return LineTokens(line, true, '\\', '"', '"', " ");
}
LineTokens mqoFaceWords(std::string_view line) {
    return LineTokens(line, true, '\\', '"', '"', " ()");
}
LineTokens mqoBVertexWords(std::string_view line) {
    return LineTokens(line, true, '\\', '"', '"', " []");
}
LineTokens materialNameParts(std::string_view name) {
    return LineTokens(name, false, '/', '"', '"', "_");
}

} // namespace kavlen
