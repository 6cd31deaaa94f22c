// Command table of kavlen-cli. Each area of the program adds its commands in its
// own *_commands.cpp file through an add...Commands function listed in main.cpp.
#pragma once

#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

namespace kavlen::cli {

struct Context {
    std::ostream& out;
    std::ostream& err;
};

// Thrown by commands for usage and input errors: printed to stderr, exit status 2.
struct UsageError {
    std::string message;
};

struct Command {
    std::string name;
    std::string usage;   // arguments, e.g. "IN.wad OUT.wad"
    std::string summary; // one line
    // Returns the exit status.
    std::function<int(const std::vector<std::string>& args, Context& ctx)> run;
};

using CommandTable = std::vector<Command>;

void addDocumentCommands(CommandTable& table);    // info, resave, mesh, check, demo
void addInterchangeCommands(CommandTable& table); // DXF, MQO, OBJ, texture-set files
void addTextureCommands(CommandTable& table);     // atlas, pages, samples
void addMeshEditCommands(CommandTable& table);    // geometry and lighting
void addReportCommands(CommandTable& table);      // about
// Unused samples, deleting samples and pages, compacting the atlas.
void addTextureHousekeepingCommands(CommandTable& table);

// Helpers shared by the command files.
int parseInt(const std::string& text, const char* what);
double parseDouble(const std::string& text, const char* what);

} // namespace kavlen::cli
