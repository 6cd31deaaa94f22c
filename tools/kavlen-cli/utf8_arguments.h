// The program's arguments as UTF-8. Windows hands main() its arguments in the
// ANSI code page, which cannot hold every file name; there they are taken from
// the wide command line instead, and the console is switched to UTF-8 output.
#pragma once

#include <string>
#include <vector>

namespace kavlen::cli {

std::vector<std::string> utf8Arguments(int argc, char** argv);

} // namespace kavlen::cli
