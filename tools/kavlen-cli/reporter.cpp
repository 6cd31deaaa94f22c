#include "reporter.h"

#include <algorithm>
#include <ostream>

namespace kavlen::cli {

std::vector<std::string> messageLines(std::string_view text) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty())
                lines.push_back(std::move(line));
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty())
        lines.push_back(std::move(line));
    return lines;
}

bool hasProblem(const Messages& messages) {
    return std::any_of(messages.begin(), messages.end(), [](const Message& m) {
        return m.kind == MessageKind::Error || m.kind == MessageKind::Warning;
    });
}

void Reporter::result(std::string_view text) {
    for (const std::string& line : messageLines(text))
        out_ << line << '\n';
}

void Reporter::printJson(const JsonValue& value) {
    out_ << value.dump() << '\n';
}

void Reporter::toErr(const char* kind, std::string_view text) {
    const std::vector<std::string> lines = messageLines(text);
    err_ << "kavlen-cli: " << kind << ": " << (lines.empty() ? std::string() : lines[0]) << '\n';
    for (std::size_t i = 1; i < lines.size(); ++i)
        err_ << "  " << lines[i] << '\n';
    err_.flush();
}

void Reporter::error(std::string_view text) {
    toErr("error", text);
}

void Reporter::warning(std::string_view text) {
    toErr("warning", text);
}

int Reporter::done(const Messages& messages) {
    for (const Message& m : messages) {
        if (m.kind == MessageKind::Error)
            error(m.text);
        else if (m.kind == MessageKind::Warning)
            warning(m.text);
        else if (!json_)
            result(m.text);
    }
    return kExitSuccess;
}

int Reporter::refused(const Messages& messages) {
    for (const Message& m : messages)
        error(m.text);
    if (messages.empty())
        error("nothing was done");
    return kExitRefused;
}

int Reporter::refused(std::string_view reason) {
    error(reason);
    return kExitRefused;
}

} // namespace kavlen::cli
