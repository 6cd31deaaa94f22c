#include "cli.h"

namespace kavlen::cli {

void addInterchangeCommands(CommandTable&) {}

} // namespace kavlen::cli
