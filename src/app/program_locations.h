// Where the running program keeps its files (needs the QApplication).
#pragma once

#include "app/app_locations.h"

namespace kavlen {

AppLocations programLocations();

} // namespace kavlen
