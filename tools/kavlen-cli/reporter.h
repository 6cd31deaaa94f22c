// How every kavlen-cli command reports. Results go to standard output; errors and
// warnings go to standard error as "kavlen-cli: error: ..." or
// "kavlen-cli: warning: ...", one message per line, a message's own further lines
// indented below it. The exit status tells a script what happened:
//   0  done (for check: no problems)
//   1  refused, nothing written (for check: problems found)
//   2  usage error, or a file that cannot be read or written
//
// A command returns reporter.done(...) / reporter.refused(...) / kExitSuccess, or
// throws UsageError or std::exception (a file error) for status 2.
#pragma once

#include "document/messages.h"
#include "json_value.h"

#include <iosfwd>
#include <string>
#include <string_view>

namespace kavlen::cli {

enum ExitStatus : int {
    kExitSuccess = 0,
    kExitRefused = 1,   // refused, or problems found
    kExitUsageOrIo = 2, // bad arguments, or a file that cannot be read or written
};

// Thrown for bad arguments: printed with the command's usage line, exit status 2.
struct UsageError {
    std::string message;
};

class Reporter {
  public:
    Reporter(std::ostream& out, std::ostream& err, bool json = false)
        : out_(out), err_(err), json_(json) {}

    // Whether the user asked for JSON (--json): the command prints one
    // JsonValue with printJson instead of its text results.
    bool json() const { return json_; }

    // Standard output, for result lines.
    std::ostream& out() { return out_; }
    // A result: the text's lines on standard output.
    void result(std::string_view text);
    void printJson(const JsonValue& value);

    // "kavlen-cli: error: TEXT" / "kavlen-cli: warning: TEXT" on standard error.
    void error(std::string_view text);
    void warning(std::string_view text);

    // The messages of an operation that was carried out: errors and warnings on
    // standard error, the rest (status and information texts) as results.
    // Returns kExitSuccess.
    int done(const Messages& messages);
    // The messages of an operation that was refused: each explains why, so every
    // one goes to standard error as an error. Returns kExitRefused.
    int refused(const Messages& messages);
    // A refusal with a reason of the tool's own.
    int refused(std::string_view reason);

  private:
    void toErr(const char* kind, std::string_view text);

    std::ostream& out_;
    std::ostream& err_;
    bool json_;
};

// True when a message is an error or a warning.
bool hasProblem(const Messages& messages);

// The lines of a message text: breaks may be CR LF, CR (message boxes) or LF;
// blank lines are dropped.
std::vector<std::string> messageLines(std::string_view text);

} // namespace kavlen::cli
