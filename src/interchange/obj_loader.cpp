#include "interchange/obj_model.h"
#include "interchange/text_lines.h"
#include "interchange/text_numbers.h"

namespace kavlen {

namespace {

// Replaces each pair of blanks by one blank, in one pass.
std::string halveBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == ' ' && i + 1 < text.size() && text[i + 1] == ' ')
            ++i;
    }
    return out;
}

// Splits at the first blank: the text before it and the text after it (empty
// when there is none).
std::pair<std::string_view, std::string_view> splitAtBlank(std::string_view text) {
    const std::size_t at = text.find(' ');
    if (at == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, at), text.substr(at + 1)};
}

// Three numbers from the text after a two-letter keyword ("v ", "vn", "Ka", ...):
// split at the first two blanks, the third part running to the end of the line.
ObjVector threeNumbers(std::string_view line) {
    const std::string text = halveBlanks(trimText(line.size() > 2 ? line.substr(2) : ""));
    const auto [x, rest] = splitAtBlank(text);
    const auto [y, z] = splitAtBlank(rest);
    return {singleOrThrow(x), singleOrThrow(y), singleOrThrow(z)};
}

// One face: tokens v, v/t, v//n or v/t/n separated by blanks. The first "/" is
// looked for in the rest of the line, so a plain token followed by one with
// slashes does not read as a number.
ObjFace readFace(std::string_view line) {
    const std::string halved = halveBlanks(line);
    std::string_view rest = trimText(splitAtBlank(halved).second);
    ObjFace face;
    while (!rest.empty()) {
        const auto [token, after] = splitAtBlank(rest);
        const std::size_t slash = rest.find('/');
        int v = 0, t = 0, n = 0;
        if (slash == std::string_view::npos) {
            v = integerOrThrow(token);
        } else if (slash >= token.size()) {
            v = integerOrThrow(rest.substr(0, slash));
        } else {
            v = integerOrThrow(token.substr(0, slash));
            const std::string_view tail = token.substr(slash + 1);
            if (!tail.empty() && tail.front() == '/') {
                n = integerOrThrow(tail.substr(1));
            } else {
                const std::size_t second = tail.find('/');
                t = integerOrThrow(tail.substr(0, second));
                if (second != std::string_view::npos)
                    n = integerOrThrow(tail.substr(second + 1));
            }
        }
        face.vertexIndex.push_back(v);
        face.texCoordIndex.push_back(t);
        face.normalIndex.push_back(n);
        rest = trimText(after);
    }
    face.vertexCount = static_cast<int>(face.vertexIndex.size());
    return face;
}

void readMaterials(std::string_view text, ObjModel& model) {
    TextLines lines(text);
    while (!lines.atEnd()) {
        const std::string line = upperAscii(trimText(lines.next()));
        if (line.empty() || line.front() == '#')
            continue;
        if (line.starts_with("NEWMTL")) {
            model.materials.emplace_back();
            model.materials.back().name = std::string(trimText(std::string_view(line).substr(6)));
            continue;
        }
        if (model.materials.empty())
            continue;
        ObjMaterial& m = model.materials.back();
        float* colour = line.starts_with("KA")   ? m.ambient
                        : line.starts_with("KD") ? m.diffuse
                        : line.starts_with("KS") ? m.specular
                                                 : nullptr;
        if (colour) {
            const ObjVector v = threeNumbers(line);
            colour[0] = v.x;
            colour[1] = v.y;
            colour[2] = v.z;
        } else if (line.starts_with("NS")) {
            m.shininess = singleOrThrow(std::string_view(line).substr(2));
        }
    }
}

} // namespace

Messages loadObjText(std::string_view text, ObjModel& model, const MtlSource& materials) {
    Messages messages;
    TextLines lines(text);
    while (!lines.atEnd()) {
        const std::string_view original = lines.next();
        if (original.empty() || original.front() == '#')
            continue;
        const std::string line = upperAscii(original);
        const char second = line.size() > 1 ? line[1] : '\0';
        switch (line.front()) {
        case 'V':
            if (second == ' ') {
                model.vertices.push_back(threeNumbers(line));
            } else if (second == 'N') {
                model.normals.push_back(threeNumbers(line));
            } else if (second == 'T') {
                const auto [keyword, rest] = splitAtBlank(line);
                const auto [u, v] = splitAtBlank(rest);
                model.texCoords.push_back({singleOrThrow(u), singleOrThrow(v)});
            }
            break;
        case 'F':
            if (model.groups.empty())
                model.groups.push_back({"default", {}, 0});
            model.groups.back().faces.push_back(readFace(line));
            break;
        case 'G':
            model.groups.push_back(
                {std::string(trimText(std::string_view(line).substr(1))), {}, 0});
            break;
        case 'U':
            if (line.starts_with("USEMTL") && !model.groups.empty()) {
                const std::string name(trimText(splitAtBlank(line).second));
                int number = 0;
                for (std::size_t i = 0; i < model.materials.size(); ++i)
                    if (model.materials[i].name == name)
                        number = static_cast<int>(i + 1);
                model.groups.back().material = number;
            }
            break;
        case 'M':
            if (line.starts_with("MTLLIB")) {
                // The name keeps its case: file names are case-sensitive on most systems.
                const std::string name(trimText(splitAtBlank(original).second));
                const std::optional<std::string> mtl = materials ? materials(name) : std::nullopt;
                if (mtl)
                    readMaterials(*mtl, model);
                else
                    messages.push_back(
                        {MessageKind::Information, "Cannot find the material file : " + name});
            }
            break;
        default:
            break;
        }
    }
    return messages;
}

Messages loadObj(const std::filesystem::path& file, ObjModel& model) {
    model = ObjModel{};
    const std::string fileName = file.filename().string();
    model.name = fileName.substr(0, fileName.find('.'));
    std::string text, message;
    if (!readTextFile(file, text, message))
        return {{MessageKind::Information, "Cannot find the model : " + file.string()}};
    const std::filesystem::path folder = file.parent_path();
    const MtlSource beside = [&folder](const std::string& name) -> std::optional<std::string> {
        std::filesystem::path path(name);
        if (path.is_relative())
            path = folder / path;
        std::string content, ignored;
        if (!readTextFile(path, content, ignored))
            return std::nullopt;
        return content;
    };
    return loadObjText(text, model, beside);
}

} // namespace kavlen
