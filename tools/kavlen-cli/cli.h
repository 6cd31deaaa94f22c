// Command table of kavlen-cli. Each area of the program adds its commands in its
// own *_commands.cpp file through an add...Commands function listed in main.cpp.
// Commands report through the Reporter (reporter.h): results on standard output,
// errors and warnings on standard error, and an exit status of 0, 1 or 2.
#pragma once

#include "reporter.h"

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kavlen::cli {

using Arguments = std::vector<std::string>;

struct Command {
    std::string name;
    std::string usage;   // arguments, e.g. "IN.wad OUT.wad"
    std::string summary; // one line
    // Returns the exit status (ExitStatus).
    std::function<int(const Arguments& args, Reporter& report)> run;
    // Accepts --json: the command then prints one JSON value (reporter.json()).
    bool json = false;
};

using CommandTable = std::vector<Command>;

void addDocumentCommands(CommandTable& table);    // info, resave, mesh, check, demo
void addInterchangeCommands(CommandTable& table); // DXF, MQO, OBJ, texture-set files
void addTextureCommands(CommandTable& table);     // atlas, pages, samples
void addMeshEditCommands(CommandTable& table);    // geometry and lighting
void addReportCommands(CommandTable& table);      // about
// Unused samples, deleting samples and pages, compacting the atlas.
void addTextureHousekeepingCommands(CommandTable& table);

// A file name argument (UTF-8) as a path. Every path given to the core goes
// through here: on Windows a path made from a narrow string would read it in the
// ANSI code page and miss any name outside it.
std::filesystem::path filePath(const std::string& utf8);

// Helpers shared by the command files; they throw UsageError.
int parseInt(const std::string& text, const char* what);
double parseDouble(const std::string& text, const char* what);
void expectArgs(const Arguments& args, std::size_t n);
// Removes `flag` from args wherever it is; returns whether it was there.
bool takeFlag(Arguments& args, std::string_view flag);

} // namespace kavlen::cli
