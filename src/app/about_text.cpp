#include "app/about_text.h"

namespace kavlen {

std::string aboutText(const AboutFacts& facts) {
    const auto known = [](const std::string& text) { return text.empty() ? "unknown" : text; };
    return "Kavlen3 " + facts.version + "\nEditor for TRLE object packages (.wad)\n\nQt " +
           facts.qtVersion + "\nOpenGL renderer: " + known(facts.glRenderer) +
           "\nOpenGL version: " + known(facts.glVersion) + "\n\n" + kLicenceText;
}

} // namespace kavlen
