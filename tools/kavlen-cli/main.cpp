#include "cli.h"
#include "utf8_arguments.h"

#include <algorithm>
#include <charconv>
#include <iostream>

#ifndef KAVLEN_VERSION
#define KAVLEN_VERSION "unknown"
#endif

namespace kavlen::cli {

std::filesystem::path filePath(const std::string& utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

int parseInt(const std::string& text, const char* what) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || p != end)
        throw UsageError{std::string("not a whole number for ") + what + ": " + text};
    return value;
}

double parseDouble(const std::string& text, const char* what) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || p != end)
        throw UsageError{std::string("not a number for ") + what + ": " + text};
    return value;
}

void expectArgs(const Arguments& args, std::size_t n) {
    if (args.size() != n)
        throw UsageError{"expected " + std::to_string(n) + " argument" + (n == 1 ? "" : "s") +
                         ", got " + std::to_string(args.size())};
}

bool takeFlag(Arguments& args, std::string_view flag) {
    const auto before = args.size();
    std::erase(args, std::string(flag));
    return args.size() != before;
}

namespace {

CommandTable buildTable() {
    CommandTable table;
    addDocumentCommands(table);
    addInterchangeCommands(table);
    addTextureCommands(table);
    addTextureHousekeepingCommands(table);
    addMeshEditCommands(table);
    addReportCommands(table);
    return table;
}

void printHelp(const CommandTable& table, std::ostream& out) {
    out << "Usage: kavlen-cli COMMAND ARGS... [--json]\n"
           "       kavlen-cli --help | --version\n\nCommands:\n";
    for (const Command& c : table)
        out << "  " << c.name << " " << c.usage << (c.json ? " [--json]" : "") << "\n      "
            << c.summary << "\n";
    out << "\nResults go to standard output. Errors and warnings go to standard error,\n"
           "one message a line as 'kavlen-cli: error: ...' or 'kavlen-cli: warning: ...'\n"
           "(a message's further lines indented below it).\n"
           "--json (where shown) prints one JSON object instead of the text results.\n"
           "\nExit status:\n"
           "  0  done (check: no problems found)\n"
           "  1  refused, nothing written (check: problems found)\n"
           "  2  usage error, or a file that cannot be read or written\n";
}

// The options a command's usage line names ("--static" in "[--static I]").
std::vector<std::string> usageOptions(const std::string& usage) {
    std::vector<std::string> options;
    for (std::size_t at = usage.find("--"); at != std::string::npos;
         at = usage.find("--", at + 2)) {
        const std::size_t end = usage.find_first_of(" ]|", at);
        options.push_back(usage.substr(at, end - at));
    }
    return options;
}

int runCommand(const Command& c, Arguments args) {
    Reporter report(std::cout, std::cerr, takeFlag(args, "--json"));
    try {
        if (report.json() && !c.json)
            throw UsageError{"--json is not available for this command"};
        // An option the usage line does not name is a mistake, never a file name.
        const std::vector<std::string> known = usageOptions(c.usage);
        for (const std::string& a : args) {
            if (a.size() > 2 && a.rfind("--", 0) == 0 &&
                std::find(known.begin(), known.end(), a) == known.end())
                throw UsageError{"unknown option " + a};
        }
        return c.run(args, report);
    } catch (const UsageError& e) {
        report.error(c.name + ": " + e.message + "\nusage: kavlen-cli " + c.name + " " + c.usage +
                     (c.json ? " [--json]" : ""));
        return kExitUsageOrIo;
    } catch (const std::exception& e) {
        report.error(e.what());
        return kExitUsageOrIo;
    }
}

} // namespace
} // namespace kavlen::cli

int main(int argc, char** argv) {
    using namespace kavlen::cli;
    const CommandTable table = buildTable();
    const Arguments args = utf8Arguments(argc, argv);
    if (args.empty()) {
        printHelp(table, std::cerr);
        return kExitUsageOrIo;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(table, std::cout);
        return kExitSuccess;
    }
    if (args[0] == "--version") {
        std::cout << "kavlen-cli " KAVLEN_VERSION "\n";
        return kExitSuccess;
    }
    const auto c = std::find_if(table.begin(), table.end(),
                                [&](const Command& command) { return command.name == args[0]; });
    if (c == table.end()) {
        Reporter(std::cout, std::cerr)
            .error("unknown command '" + args[0] + "' (see kavlen-cli --help)");
        return kExitUsageOrIo;
    }
    if (args.size() == 2 && (args[1] == "--help" || args[1] == "-h")) {
        std::cout << "Usage: kavlen-cli " << c->name << " " << c->usage
                  << (c->json ? " [--json]" : "") << "\n  " << c->summary << "\n";
        return kExitSuccess;
    }
    return runCommand(*c, Arguments(args.begin() + 1, args.end()));
}
