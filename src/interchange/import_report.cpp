#include "interchange/import_report.h"

namespace kavlen {

std::string noFacesMessage(std::string_view fileName, std::string_view holds) {
    std::string text =
        std::string(fileName) + " holds no faces that can be imported; the mesh was not changed.";
    if (!holds.empty())
        text += " " + std::string(holds);
    return text;
}

void ImportChanges::add(std::size_t count, std::string_view one, std::string_view many) {
    if (count == 0)
        return;
    reasons_.push_back(std::to_string(count) + " " + std::string(count == 1 ? one : many));
}

void ImportChanges::splitIntoTriangles(std::size_t count) {
    add(count, "face of 5 or more points was split into triangles",
        "faces of 5 or more points were split into triangles");
}

void ImportChanges::fewerThanThreePoints(std::size_t count) {
    add(count, "face of fewer than 3 points was left out",
        "faces of fewer than 3 points were left out");
}

std::string ImportChanges::text(std::size_t facesRead) const {
    if (reasons_.empty())
        return {};
    std::string out =
        std::to_string(facesRead) + (facesRead == 1 ? " face read: " : " faces read: ");
    for (std::size_t i = 0; i < reasons_.size(); ++i)
        out += (i ? "; " : "") + reasons_[i];
    return out + ".";
}

void ImportChanges::report(std::size_t facesRead, Messages& messages) const {
    if (!reasons_.empty())
        messages.push_back({MessageKind::Information, text(facesRead)});
}

} // namespace kavlen
