#include "cli.h"

namespace kavlen::cli {

void addMeshEditCommands(CommandTable&) {}

} // namespace kavlen::cli
