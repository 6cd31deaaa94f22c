#include "cli.h"

namespace kavlen::cli {

void addTextureCommands(CommandTable&) {}

} // namespace kavlen::cli
