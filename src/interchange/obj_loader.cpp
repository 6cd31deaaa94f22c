#include "document/safe_write.h"
#include "interchange/obj_model.h"
#include "interchange/text_lines.h"
#include "interchange/text_numbers.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <unordered_map>

namespace kavlen {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\0';
}

// Splits a statement at runs of blanks and tabs, in one pass.
std::vector<std::string_view> splitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        const std::size_t start = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        if (i > start)
            fields.push_back(text.substr(start, i - start));
    }
    return fields;
}

// A quoted piece of the offending text, cut so that a huge line gives a short message.
std::string quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    if (text.size() > kShown)
        return "'" + std::string(text.substr(0, kShown)) + "...'";
    return "'" + std::string(text) + "'";
}

[[noreturn]] void fail(int line, const std::string& what) {
    throw ConversionError{"Line " + std::to_string(line) + ": " + what};
}

double number(std::string_view field, int line) {
    const auto v = parseReal(field);
    if (!v)
        fail(line, quoted(field) + " is not a valid floating point value");
    return *v;
}

// Numeric fields end where a comment starts.
std::vector<std::string_view> numericFields(std::string_view rest) {
    std::vector<std::string_view> fields = splitFields(rest);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i].front() == '#') {
            fields.resize(i);
            break;
        }
    }
    return fields;
}

// Resolves one index of a face token: positive counts from 1, negative counts back
// from the last element read so far. Returns -1 for an empty field.
int resolveIndex(std::string_view field, std::size_t countSoFar, const char* what, int line) {
    if (field.empty())
        return -1;
    long long value = 0;
    const char* begin = field.data();
    const char* end = begin + field.size();
    if (*begin == '+')
        ++begin;
    const auto [p, ec] = std::from_chars(begin, end, value);
    if (p != end || ec != std::errc())
        fail(line, quoted(field) + " is not a valid integer value");
    if (value == 0)
        fail(line, std::string("a face uses ") + what + " 0; OBJ numbers them from 1");
    if (value > 0) {
        if (value > std::numeric_limits<int>::max())
            fail(line, std::string("a face uses ") + what + " " + std::string(field) +
                           ", beyond any file this program reads");
        return static_cast<int>(value - 1);
    }
    // -1 is the last element read.
    if (static_cast<unsigned long long>(-(value + 1)) >= countSoFar)
        fail(line, std::string("a face uses ") + what + " " + std::string(field) + ", but only " +
                       std::to_string(countSoFar) + " were read before it");
    return static_cast<int>(static_cast<long long>(countSoFar) + value);
}

// Everything after the keyword, trimmed: names may hold blanks.
std::string_view restOfLine(std::string_view statement, std::size_t keywordLength) {
    return trimText(statement.substr(std::min(keywordLength, statement.size())));
}

// Turns UTF-16 text into UTF-8, from byte `start` (after a byte-order mark).
std::string utf8FromUtf16(std::string_view bytes, bool bigEndian, std::size_t start) {
    std::string out;
    out.reserve(bytes.size() / 2);
    auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? (a << 8 | b) : (b << 8 | a);
    };
    for (std::size_t i = start; i + 1 < bytes.size(); i += 2) {
        std::uint32_t c = unit(i);
        if (c >= 0xD800 && c < 0xDC00 && i + 3 < bytes.size()) {
            const std::uint32_t low = unit(i + 2);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// The text as UTF-8 without a byte-order mark: UTF-16 files (marked) are converted.
std::string_view plainText(std::string_view text, std::string& converted) {
    if (text.starts_with("\xEF\xBB\xBF"))
        return text.substr(3);
    if (text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF")) {
        converted = utf8FromUtf16(text, text.front() == '\xFE', 2);
        return converted;
    }
    // UTF-16 without a mark: ASCII text with every other byte zero.
    if (text.size() >= 2 && (text[0] == '\0') != (text[1] == '\0')) {
        converted = utf8FromUtf16(text, text[0] == '\0', 0);
        return converted;
    }
    return text;
}

// Statements of a text file: physical lines joined where a line ends in a
// backslash, each with the number of its first line.
class Statements {
  public:
    explicit Statements(std::string_view text) : lines_(text) {}

    bool next(std::string_view& statement, int& line) {
        if (lines_.atEnd())
            return false;
        line = line_ + 1;
        joined_.clear();
        bool joining = false;
        while (!lines_.atEnd()) {
            const std::string_view physical = lines_.next();
            ++line_;
            std::string_view body = physical;
            while (!body.empty() && isBlank(body.back()))
                body.remove_suffix(1);
            const bool continues = !body.empty() && body.back() == '\\' && !lines_.atEnd();
            if (!continues && !joining) {
                statement = physical;
                return true;
            }
            joining = true;
            if (continues) {
                body.remove_suffix(1);
                joined_.append(body);
                joined_ += ' ';
            } else {
                joined_.append(physical);
                break;
            }
        }
        statement = joined_;
        return true;
    }

  private:
    TextLines lines_;
    int line_ = 0;
    std::string joined_;
};

bool keywordIs(std::string_view keyword, std::string_view upper) {
    return upperAscii(keyword) == upper;
}

// The keyword of a statement and where it ends; empty for blank lines and comments.
std::string_view keywordOf(std::string_view statement) {
    std::size_t i = 0;
    while (i < statement.size() && isBlank(statement[i]))
        ++i;
    std::size_t end = i;
    while (end < statement.size() && !isBlank(statement[end]))
        ++end;
    const std::string_view keyword = statement.substr(i, end - i);
    if (keyword.empty() || keyword.front() == '#')
        return {};
    return keyword;
}

void readMaterials(std::string_view text, const std::vector<std::string>& wanted,
                   std::vector<ObjMaterial>& out) {
    std::string converted;
    Statements statements(plainText(text, converted));
    std::string_view statement;
    int line = 0;
    ObjMaterial* current = nullptr;
    while (statements.next(statement, line)) {
        const std::string_view keyword = keywordOf(statement);
        if (keyword.empty())
            continue;
        const std::size_t keywordEnd =
            static_cast<std::size_t>(keyword.data() - statement.data()) + keyword.size();
        const std::string_view rest = restOfLine(statement, keywordEnd);
        if (keywordIs(keyword, "NEWMTL")) {
            current = nullptr;
            const std::string name(rest);
            bool used = false;
            for (const std::string& w : wanted)
                used = used || w == name;
            bool known = false;
            for (const ObjMaterial& m : out)
                known = known || m.name == name;
            if (used && !known) {
                out.push_back({name, {}});
                current = &out.back();
            }
        } else if (current && keywordIs(keyword, "MAP_KD")) {
            // Options ("-s 1 1 1", "-bm 0.5", ...) come before the file name; a name
            // without options may hold blanks.
            const std::vector<std::string_view> fields = splitFields(rest);
            bool options = false;
            for (const std::string_view f : fields)
                options = options || f.front() == '-';
            current->diffuseMap = std::string(options && !fields.empty() ? fields.back() : rest);
        }
        // Every other statement (colours, shininess, other maps) is not used.
    }
}

struct Reader {
    ObjModel& model;
    std::vector<std::string> mtllibs;
    std::unordered_map<std::string, int> materialNumber;
    std::unordered_map<std::string, int> objectNumber;
    int material = -1;
    int object = 0;
    bool sawObjectStatement = false;

    void section(std::string_view name, bool isObject) {
        // Files with "o" statements name their sections by them; "g" then only
        // groups faces inside an object.
        if (!isObject && sawObjectStatement)
            return;
        sawObjectStatement = sawObjectStatement || isObject;
        const std::string key(name);
        const auto [it, added] = objectNumber.try_emplace(key, int(model.objects.size()));
        if (added)
            model.objects.push_back(key);
        object = it->second;
    }

    void vertex(std::string_view rest, int line) {
        const std::vector<std::string_view> f = numericFields(rest);
        if (f.size() != 3 && f.size() != 4 && f.size() != 6)
            fail(line, "a vertex has 3, 4 or 6 numbers, not " + std::to_string(f.size()));
        ObjVertex v{number(f[0], line), number(f[1], line), number(f[2], line)};
        if (f.size() == 6) {
            v.hasColour = true;
            v.r = static_cast<float>(number(f[3], line));
            v.g = static_cast<float>(number(f[4], line));
            v.b = static_cast<float>(number(f[5], line));
        } else if (f.size() == 4) {
            number(f[3], line); // w: read, not used
        }
        v.object = object;
        model.vertices.push_back(v);
    }

    void normal(std::string_view rest, int line) {
        const std::vector<std::string_view> f = numericFields(rest);
        if (f.size() != 3)
            fail(line, "a normal has 3 numbers, not " + std::to_string(f.size()));
        model.normals.push_back({number(f[0], line), number(f[1], line), number(f[2], line)});
    }

    void texCoord(std::string_view rest, int line) {
        const std::vector<std::string_view> f = numericFields(rest);
        if (f.empty() || f.size() > 3)
            fail(line, "a texture coordinate has 1 to 3 numbers, not " + std::to_string(f.size()));
        model.texCoords.push_back({number(f[0], line), f.size() > 1 ? number(f[1], line) : 0.0});
        if (f.size() > 2)
            number(f[2], line);
    }

    void face(std::string_view rest, int line) {
        ObjFace face;
        face.firstCorner = model.corners.size();
        face.material = material;
        face.object = object;
        face.line = line;
        std::size_t i = 0;
        while (i < rest.size()) {
            while (i < rest.size() && isBlank(rest[i]))
                ++i;
            if (i >= rest.size() || rest[i] == '#')
                break;
            const std::size_t start = i;
            while (i < rest.size() && !isBlank(rest[i]))
                ++i;
            const std::string_view token = rest.substr(start, i - start);
            const std::size_t s1 = token.find('/');
            const std::size_t s2 = s1 == std::string_view::npos ? s1 : token.find('/', s1 + 1);
            ObjCorner c;
            const std::string_view v = token.substr(0, s1);
            if (v.empty())
                fail(line, quoted(token) + " names no vertex");
            c.vertex = resolveIndex(v, model.vertices.size(), "vertex", line);
            if (s1 != std::string_view::npos) {
                const std::string_view t = token.substr(s1 + 1, s2 == s1 ? s2 : s2 - s1 - 1);
                c.texCoord = resolveIndex(t, model.texCoords.size(), "texture coordinate", line);
                if (s2 != std::string_view::npos)
                    c.normal =
                        resolveIndex(token.substr(s2 + 1), model.normals.size(), "normal", line);
            }
            model.corners.push_back(c);
        }
        face.cornerCount = static_cast<int>(model.corners.size() - face.firstCorner);
        model.faces.push_back(face);
    }

    void useMaterial(std::string_view name) {
        const std::string key(name);
        const auto [it, added] = materialNumber.try_emplace(key, int(model.usedMaterials.size()));
        if (added)
            model.usedMaterials.push_back(key);
        material = it->second;
    }
};

// Positive indices may point forward; they are checked once the whole file is read.
void checkIndices(const ObjModel& model) {
    for (const ObjFace& f : model.faces) {
        for (int k = 0; k < f.cornerCount; ++k) {
            const ObjCorner& c = model.corners[f.firstCorner + std::size_t(k)];
            const auto check = [&](int index, std::size_t count, const char* what) {
                if (index >= 0 && std::size_t(index) >= count)
                    fail(f.line, std::string("a face uses ") + what + " " +
                                     std::to_string(index + 1) + ", but the file has " +
                                     std::to_string(count));
            };
            check(c.vertex, model.vertices.size(), "vertex");
            check(c.texCoord, model.texCoords.size(), "texture coordinate");
            check(c.normal, model.normals.size(), "normal");
        }
    }
}

} // namespace

const ObjMaterial* ObjModel::materialOf(const ObjFace& face) const {
    if (face.material < 0 || std::size_t(face.material) >= usedMaterials.size())
        return nullptr;
    const std::string& name = usedMaterials[std::size_t(face.material)];
    for (const ObjMaterial& m : materials)
        if (m.name == name)
            return &m;
    return nullptr;
}

Messages loadObjText(std::string_view text, ObjModel& model, const MtlSource& materials) {
    Messages messages;
    std::string converted;
    Statements statements(plainText(text, converted));
    Reader reader{model, {}, {}, {}};
    std::string_view statement;
    int line = 0;
    while (statements.next(statement, line)) {
        const std::string_view keyword = keywordOf(statement);
        if (keyword.empty())
            continue;
        const std::size_t keywordEnd =
            static_cast<std::size_t>(keyword.data() - statement.data()) + keyword.size();
        const std::string_view rest = statement.substr(keywordEnd);
        const std::string upper = keyword.size() <= 6 ? upperAscii(keyword) : std::string();
        if (upper == "V")
            reader.vertex(rest, line);
        else if (upper == "VN")
            reader.normal(rest, line);
        else if (upper == "VT")
            reader.texCoord(rest, line);
        else if (upper == "F" || upper == "FO")
            reader.face(rest, line);
        else if (upper == "O" || upper == "G")
            reader.section(trimText(rest), upper == "O");
        else if (upper == "USEMTL")
            reader.useMaterial(trimText(rest));
        else if (upper == "MTLLIB" && !trimText(rest).empty())
            reader.mtllibs.emplace_back(trimText(rest));
        // "s", "l", "p", "vp" and everything else: not used.
    }
    checkIndices(model);

    // Material files are read last, for the materials the faces use.
    for (const std::string& name : reader.mtllibs) {
        std::optional<std::string> mtl = materials ? materials(name) : std::nullopt;
        if (!mtl) {
            // "mtllib a.mtl b.mtl" names two files; a name may also hold blanks.
            const std::vector<std::string_view> parts = splitFields(name);
            if (parts.size() > 1 && materials) {
                for (const std::string_view part : parts) {
                    if (auto one = materials(std::string(part)))
                        readMaterials(*one, model.usedMaterials, model.materials);
                    else
                        messages.push_back(
                            {MessageKind::Information,
                             "Cannot find the material file : " + std::string(part)});
                }
                continue;
            }
            messages.push_back(
                {MessageKind::Information, "Cannot find the material file : " + name});
            continue;
        }
        readMaterials(*mtl, model.usedMaterials, model.materials);
    }
    return messages;
}

namespace {

// Why a material file named in an OBJ is not read, or an empty string.
std::string materialPathRefusal(const std::filesystem::path& name) {
    if (name.empty() || name.is_absolute() || name.has_root_name() || name.has_root_directory())
        return "its name is not a file beside the model";
    for (const auto& part : name)
        if (part == "..")
            return "its name is not a file beside the model";
    return {};
}

} // namespace

Messages loadObj(const std::filesystem::path& file, ObjModel& model) {
    model = ObjModel{};
    const std::string fileName = file.filename().string();
    model.name = fileName.substr(0, fileName.find('.'));
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec))
        return {{MessageKind::Information, "Cannot find the model : " + file.string()}};
    const auto size = std::filesystem::file_size(file, ec);
    if (!ec && size > kMaxObjFileBytes)
        throw ConversionError{file.filename().string() + " is " + std::to_string(size >> 20) +
                              " MB; model files of more than " +
                              std::to_string(kMaxObjFileBytes >> 20) + " MB are not read"};
    std::string text, message;
    if (!readTextFile(file, text, message))
        return {{MessageKind::Information, "Cannot find the model : " + file.string()}};
    const std::filesystem::path folder = file.parent_path();
    Messages refusals;
    const MtlSource beside = [&](const std::string& name) -> std::optional<std::string> {
        const std::filesystem::path relative(name);
        std::string why = materialPathRefusal(relative);
        const std::filesystem::path path = folder / relative;
        std::error_code e;
        if (why.empty() && !std::filesystem::exists(path, e))
            return std::nullopt;
        if (why.empty() && !std::filesystem::is_regular_file(path, e))
            why = "it is not a regular file";
        const auto bytes = why.empty() ? std::filesystem::file_size(path, e) : 0;
        if (why.empty() && !e && bytes > kMaxMtlFileBytes)
            why = "it is larger than " + std::to_string(kMaxMtlFileBytes >> 10) + " KB";
        std::string content, ignored;
        if (why.empty() && !readTextFile(path, content, ignored))
            return std::nullopt;
        if (!why.empty()) {
            refusals.push_back({MessageKind::Information,
                                "The material file " + name + " was not read: " + why + "."});
            return std::string();
        }
        return content;
    };
    Messages messages = loadObjText(text, model, beside);
    messages.insert(messages.begin(), refusals.begin(), refusals.end());
    return messages;
}

} // namespace kavlen
