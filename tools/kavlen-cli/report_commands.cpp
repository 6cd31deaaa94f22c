#include "cli.h"

namespace kavlen::cli {

void addReportCommands(CommandTable&) {}

} // namespace kavlen::cli
