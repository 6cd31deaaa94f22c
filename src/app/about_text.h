// The text of Help > About...
#pragma once

#include <string>

namespace kavlen {

struct AboutFacts {
    std::string version;    // the program's
    std::string qtVersion;  // the Qt the program was built with
    std::string glRenderer; // empty before the view has a GL context
    std::string glVersion;
};

inline constexpr const char* kLicenceText =
    "Licence: none chosen yet; no licence to copy or redistribute is granted.";

std::string aboutText(const AboutFacts& facts);

} // namespace kavlen
