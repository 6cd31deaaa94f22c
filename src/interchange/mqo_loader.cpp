#include "interchange/line_tokens.h"
#include "interchange/mqo_document.h"
#include "interchange/text_numbers.h"

#include <cstring>

namespace kavlen {

namespace {

constexpr std::size_t kMaxMqoTotal = kMaxMeshVertices;

bool sameWord(std::string_view a, std::string_view b) {
    return lowerAscii(a) == lowerAscii(b);
}

[[noreturn]] void fail(std::string_view line, std::string_view expected) {
    throw MqoParseError{std::string(line), std::string(expected)};
}

// Counts the vertices and faces of the visible objects, as announced by their
// "vertex N {", "BVertex N {" and "face N {" lines.
struct PreScan {
    long long vertices = 0;
    long long faces = 0;
};

PreScan preScan(std::string_view bytes) {
    PreScan totals;
    bool counting = false;
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t end = bytes.find('\n', pos);
        if (end == std::string_view::npos)
            end = bytes.size();
        const std::string line = lowerAscii(trimText(bytes.substr(pos, end - pos)));
        pos = end + 1;
        if (line.find("visible 15") != std::string::npos)
            counting = true;
        if (line.find("visible 0") != std::string::npos)
            counting = false;
        if (!counting)
            continue;
        const LineTokens words = mqoWords(line);
        if (words.count() != 3)
            continue;
        const long long n = parseInteger(words.token(1)).value_or(0);
        if (words.token(0) == "vertex" || words.token(0) == "bvertex")
            totals.vertices += n;
        else if (words.token(0) == "face")
            totals.faces += n;
        if (totals.vertices > long(kMaxMqoTotal) || totals.faces > long(kMaxMqoTotal))
            break;
    }
    return totals;
}

// Lines of the document; in binary mode lines end at LF only and raw vertex data
// can be taken right after a line.
class MqoLines {
  public:
    MqoLines(std::string_view bytes, bool binary) : bytes_(bytes), binary_(binary) {}
    bool atEnd() const { return pos_ >= bytes_.size(); }
    std::string_view next() {
        const std::size_t start = pos_;
        std::size_t end = start;
        while (end < bytes_.size() && bytes_[end] != '\n' && (binary_ || bytes_[end] != '\r'))
            ++end;
        pos_ = end;
        if (!binary_ && pos_ < bytes_.size() && bytes_[pos_] == '\r')
            ++pos_;
        if (pos_ < bytes_.size() && bytes_[pos_] == '\n')
            ++pos_;
        return bytes_.substr(start, end - start);
    }
    std::size_t remaining() const { return bytes_.size() - pos_; }
    bool binary() const { return binary_; }
    const char* take(std::size_t n) {
        const char* p = bytes_.data() + pos_;
        pos_ += n;
        return p;
    }

  private:
    std::string_view bytes_;
    bool binary_;
    std::size_t pos_ = 0;
};

class MqoParser {
  public:
    MqoParser(MqoDocument& model, MqoLines& lines) : model_(model), lines_(lines) {}

    void line(std::string_view text) {
        if (state_ == State::Ignore)
            return;
        const LineTokens words = mqoWords(text);
        if (words.token(0) == "}" && words.count() > 1)
            fail(text, "\"}\" alone on its line");
        switch (state_) {
        case State::FirstLine:
            firstLine(text, words);
            break;
        case State::SecondLine:
            secondLine(text, words);
            break;
        case State::TopLevel:
            topLevel(text, words);
            break;
        case State::Ignore:
            break;
        case State::Material:
            materialLine(words);
            break;
        case State::Object:
            objectLine(text, words);
            break;
        case State::Vertex:
            vertexLine(words);
            break;
        case State::BVertex:
            bvertexLine(text, words);
            break;
        case State::Face:
            faceLine(text);
            break;
        case State::Skip:
            skipLine(words);
            break;
        }
    }

  private:
    enum class State {
        FirstLine,
        SecondLine,
        TopLevel,
        Ignore,
        Material,
        Object,
        Vertex,
        BVertex,
        Face,
        Skip
    };

    static bool isClose(const LineTokens& w) { return w.count() == 1 && w.token(0) == "}"; }
    static bool opensBlock(const LineTokens& w) {
        return w.count() > 0 && w.token(w.count() - 1) == "{";
    }

    MqoObject& object() { return model_.objects.back(); }

    void firstLine(std::string_view text, const LineTokens& w) {
        if (!sameWord(w.token(0), "metasequoia") || !sameWord(w.token(1), "document"))
            fail(text, "\"Metasequoia Document\"");
        state_ = State::SecondLine;
    }

    void secondLine(std::string_view text, const LineTokens& w) {
        if (!sameWord(w.token(0), "format") || !sameWord(w.token(1), "text") ||
            !sameWord(w.token(2), "ver") || w.count() < 4)
            fail(text, "\"Format Text Ver\" and a version number");
        if (realOrThrow(w.token(3)) < 1.0)
            fail(text, "format version 1.0 or later");
        state_ = State::TopLevel;
    }

    void topLevel(std::string_view text, const LineTokens& w) {
        if (w.count() == 1 && sameWord(w.token(0), "eof")) {
            state_ = State::Ignore;
        } else if (sameWord(w.token(0), "material") && w.count() == 3 && w.token(2) == "{") {
            state_ = State::Material;
        } else if (sameWord(w.token(0), "object") && w.count() == 3 && w.token(2) == "{") {
            model_.objects.emplace_back();
            object().name = w.token(1);
            state_ = State::Object;
        } else if (opensBlock(w)) {
            // Chunks the import does not use (Scene, MaterialEx2, Thumbnail,
            // BackImage, Blob, and whatever later versions add), nested or not.
            startSkip(State::TopLevel);
        } else if (isClose(w)) {
            fail(text, "a chunk or \"Eof\"");
        }
        // Other lines (IncludeXml, CodePage, TrialNoise, ...) carry nothing the
        // import uses.
    }

    void materialLine(const LineTokens& w) {
        if (isClose(w))
            state_ = State::TopLevel;
        else
            model_.materials.push_back(w.token(0));
    }

    static int smallInt(const LineTokens& w, int at, int fallback) {
        return parseInteger(w.token(at)).value_or(fallback);
    }
    static float single(const LineTokens& w, int at, float fallback) {
        return parseSingle(w.token(at)).value_or(fallback);
    }
    static void triple(const LineTokens& w, float (&v)[3], float fallback) {
        for (int i = 0; i < 3; ++i)
            v[i] = single(w, i + 1, fallback);
    }

    void objectLine(std::string_view text, const LineTokens& w) {
        if (isClose(w)) {
            state_ = State::TopLevel;
            return;
        }
        MqoObject& o = object();
        const std::string key = lowerAscii(w.token(0));
        if (key == "depth")
            o.depth = smallInt(w, 1, 0);
        else if (key == "folding")
            o.folding = smallInt(w, 1, 0);
        else if (key == "scale")
            triple(w, o.scale, 1.0f);
        else if (key == "rotation")
            triple(w, o.rotation, 0.0f);
        else if (key == "translation")
            triple(w, o.translation, 0.0f);
        else if (key == "patch")
            o.patch = smallInt(w, 1, 0);
        else if (key == "segment")
            o.segment = smallInt(w, 1, 1);
        else if (key == "visible")
            o.visible = smallInt(w, 1, 15);
        else if (key == "locking")
            o.locking = smallInt(w, 1, 0);
        else if (key == "shading")
            o.shading = smallInt(w, 1, 0);
        else if (key == "facet")
            o.facet = single(w, 1, 59.5f);
        else if (key == "mirror") {
            o.mirror = smallInt(w, 1, 0);
            o.mirrorAxis = 1;
        } else if (key == "mirror_axis")
            o.mirrorAxis = smallInt(w, 1, 1);
        else if (key == "mirror_dis")
            o.mirrorDis = single(w, 1, 0.0f);
        else if (key == "lathe")
            o.lathe = smallInt(w, 1, 0);
        else if (key == "lathe_axis")
            o.latheAxis = smallInt(w, 1, 1);
        else if (key == "lathe_seg")
            o.latheSeg = smallInt(w, 1, 3);
        else if (key == "vertex")
            state_ = State::Vertex;
        else if (key == "bvertex")
            state_ = State::BVertex;
        else if (key == "face")
            state_ = State::Face;
        else if (opensBlock(w))
            startSkip(State::Object); // vertexattr, uid and other chunks
        (void)text;
    }

    void vertexLine(const LineTokens& w) {
        if (isClose(w)) {
            state_ = State::Object;
            return;
        }
        if (w.count() == 3)
            object().vertices.push_back(
                {single(w, 0, 0.0f), single(w, 1, 0.0f), single(w, 2, 0.0f)});
    }

    void bvertexLine(std::string_view text, const LineTokens& plain) {
        if (isClose(plain)) {
            state_ = State::Object;
            return;
        }
        const LineTokens w = mqoBVertexWords(text);
        if (sameWord(w.token(0), "vector")) {
            if (w.count() != 3)
                fail(text, "\"Vector\", a count and the data size");
            const int n = integerOrThrow(w.token(1));
            // The announced vertices must fit in what is left of the file.
            if (n < 0 || std::size_t(n) > lines_.remaining() / 12)
                fail(text, "a vertex count that the rest of the file holds");
            auto& vertices = object().vertices;
            vertices.assign(std::size_t(n), MqoVertex{});
            if (lines_.binary()) {
                const char* data = lines_.take(std::size_t(n) * 12);
                for (std::size_t i = 0; i < std::size_t(n); ++i) {
                    float xyz[3];
                    std::memcpy(xyz, data + 12 * i, 12);
                    vertices[i] = {xyz[0], xyz[1], xyz[2]};
                }
            }
        } else if (opensBlock(w)) {
            startSkip(State::BVertex); // weit, color
        }
    }

    void faceLine(std::string_view text) {
        const LineTokens w = mqoFaceWords(text);
        if (isClose(w)) {
            state_ = State::Object;
            return;
        }
        // "n V(i1 .. in) M(m) UV(...)": any number of points; the import splits
        // or leaves out what a mesh cannot hold.
        const auto count = parseInteger(w.token(0));
        if (!count || *count < 1)
            return;
        const int corners = *count;
        if (corners > w.count() - 2)
            fail(text, std::to_string(corners) + " vertex indices after \"V\"");
        MqoFace face;
        face.vertexCount = corners;
        face.vertexIndex.reserve(std::size_t(corners));
        for (int k = 0; k < corners; ++k)
            face.vertexIndex.push_back(integerOrThrow(w.token(2 + k)));
        const int m = corners + 2; // position of "M", from 0
        if (w.count() >= m + 2 && sameWord(w.token(m), "M"))
            face.material = integerOrThrow(w.token(m + 1));
        object().faces.push_back(std::move(face));
    }

    // Skips a chunk up to its closing "}", with the chunks nested in it.
    void startSkip(State back) {
        skipBack_ = back;
        skipDepth_ = 1;
        state_ = State::Skip;
    }

    void skipLine(const LineTokens& w) {
        if (isClose(w)) {
            if (--skipDepth_ == 0)
                state_ = skipBack_;
        } else if (opensBlock(w)) {
            ++skipDepth_;
        }
    }

  public:
    // Called at the end of the text: a chunk left open is an error.
    void finish(std::string_view lastLine) const {
        if (state_ == State::FirstLine)
            fail(lastLine, "\"Metasequoia Document\"");
        if (state_ != State::TopLevel && state_ != State::Ignore && state_ != State::SecondLine)
            fail(lastLine, "\"}\" before the end of the file");
        if (state_ == State::SecondLine)
            fail(lastLine, "\"Format Text Ver\" and a version number");
    }

  private:
    MqoDocument& model_;
    MqoLines& lines_;
    State state_ = State::FirstLine;
    State skipBack_ = State::TopLevel;
    int skipDepth_ = 0;
};

bool isTextFile(std::string_view bytes) {
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 32 && b != 9 && b != 10 && b != 13 && b != 26)
            return false;
    }
    return true;
}

} // namespace

Messages loadMqo(std::string_view bytes, int& lineCount, MqoDocument& model) {
    model.objects.clear();
    model.materials.clear();
    lineCount = 0;
    const PreScan totals = preScan(bytes);
    if (totals.vertices < 3)
        return {};
    if (totals.vertices > long(kMaxMqoTotal) || totals.faces > long(kMaxMqoTotal))
        return {{MessageKind::Error, "Too many vertices or faces."}};

    MqoLines lines(bytes, !isTextFile(bytes));
    MqoParser parser(model, lines);
    std::string_view last;
    while (!lines.atEnd()) {
        const std::string_view text = lines.next();
        ++lineCount;
        const std::string_view trimmed = trimText(text);
        if (!trimmed.empty()) {
            parser.line(trimmed);
            last = trimmed;
        }
    }
    parser.finish(last);
    return {};
}

Messages loadMqoFile(const std::filesystem::path& file, int& lineCount, MqoDocument& model) {
    std::string bytes, message;
    model.fileName = file.string();
    if (!readTextFile(file, bytes, message, kMqoMaxFileBytes)) {
        model.objects.clear();
        model.materials.clear();
        lineCount = 0;
        return {{MessageKind::Error, message}};
    }
    return loadMqo(bytes, lineCount, model);
}

} // namespace kavlen
