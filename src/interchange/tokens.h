// TTokens: splits one line into tokens at separator characters, with quoted
// tokens and an escape character inside quotes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

class TTokens {
  public:
    // collapse: runs of separators count as one (otherwise each separator between
    // two tokens that is not right after a closing quote delimits an empty token;
    // a separator at the very end adds none).
    TTokens(std::string_view source, bool collapse, char escape, char closeQuote, char openQuote,
            std::string_view separators);

    int count() const { return static_cast<int>(tokens_.size()); }
    // Token i from 0, or an empty string outside 0 .. count - 1.
    const std::string& token(int i) const;

  private:
    std::vector<std::string> tokens_;
};

// The splitters of the MQO reader.
TTokens mqoWords(std::string_view line);          // blanks
TTokens mqoFaceWords(std::string_view line);      // blanks and round brackets
TTokens mqoBVertexWords(std::string_view line);   // blanks and square brackets
TTokens materialNameParts(std::string_view name); // "_", empty parts kept

} // namespace kavlen
