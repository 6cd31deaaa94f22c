// Reads a text buffer line by line. Lines end at LF, CR LF or a lone CR; past the
// end every read gives an empty line.
#pragma once

#include <string_view>

namespace kavlen {

class TextLines {
  public:
    explicit TextLines(std::string_view text) : text_(text) {}

    bool atEnd() const { return pos_ >= text_.size(); }

    std::string_view next() {
        if (atEnd())
            return {};
        const std::size_t start = pos_;
        std::size_t end = start;
        while (end < text_.size() && text_[end] != '\n' && text_[end] != '\r')
            ++end;
        pos_ = end;
        if (pos_ < text_.size() && text_[pos_] == '\r')
            ++pos_;
        if (pos_ < text_.size() && text_[pos_] == '\n')
            ++pos_;
        return text_.substr(start, end - start);
    }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace kavlen
