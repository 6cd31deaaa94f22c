// LineTokens: splits one line into tokens at separator characters, with quoted
// tokens and an escape character inside quotes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kavlen {

class LineTokens {
  public:
    // collapse: runs of separators count as one (otherwise each separator between
    // two tokens that is not right after a closing quote delimits an empty token;
    // a separator at the very end adds none).
    LineTokens(std::string_view source, bool collapse, char escape, char closeQuote, char openQuote,
               std::string_view separators);

    int count() const { return static_cast<int>(tokens_.size()); }
    // Token i from 0, or an empty string outside 0 .. count - 1.
    const std::string& token(int i) const;

  private:
    std::vector<std::string> tokens_;
};

// The splitters of the MQO reader.
LineTokens mqoWords(std::string_view line);          // blanks
LineTokens mqoFaceWords(std::string_view line);      // blanks and round brackets
LineTokens mqoBVertexWords(std::string_view line);   // blanks and square brackets
LineTokens materialNameParts(std::string_view name); // "_", empty parts kept

} // namespace kavlen
