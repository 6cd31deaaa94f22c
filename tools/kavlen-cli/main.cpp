#include "cli.h"

#include <charconv>
#include <cstdlib>
#include <iostream>

namespace kavlen::cli {

int parseInt(const std::string& text, const char* what) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || p != end)
        throw UsageError{std::string("Not a whole number for ") + what + ": " + text};
    return value;
}

double parseDouble(const std::string& text, const char* what) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [p, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || p != end)
        throw UsageError{std::string("Not a number for ") + what + ": " + text};
    return value;
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
    out << "Usage: kavlen-cli COMMAND ARGS...\n\nCommands:\n";
    for (const Command& c : table)
        out << "  " << c.name << " " << c.usage << "\n      " << c.summary << "\n";
}

} // namespace
} // namespace kavlen::cli

int main(int argc, char** argv) {
    using namespace kavlen::cli;
    const CommandTable table = buildTable();
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        printHelp(table, args.empty() ? std::cerr : std::cout);
        return args.empty() ? 2 : 0;
    }
    Context ctx{std::cout, std::cerr};
    for (const Command& c : table) {
        if (c.name != args[0])
            continue;
        try {
            return c.run({args.begin() + 1, args.end()}, ctx);
        } catch (const UsageError& e) {
            std::cerr << "kavlen-cli " << c.name << ": " << e.message << "\n"
                      << "usage: kavlen-cli " << c.name << " " << c.usage << "\n";
            return 2;
        } catch (const std::exception& e) {
            std::cerr << "kavlen-cli " << c.name << ": " << e.what() << "\n";
            return 2;
        }
    }
    std::cerr << "kavlen-cli: unknown command '" << args[0] << "' (see kavlen-cli --help)\n";
    return 2;
}
