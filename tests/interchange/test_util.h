// Packages, meshes and files for the interchange tests.
#pragma once

#include "document/demo_package.h"
#include "document/package.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>
#include <locale>
#include <memory>
#include <sstream>
#include <string>

namespace kavlen::test {

// A loaded package with `samples` texture samples and one mesh slot holding a
// recognisable mesh (so that a test can tell whether an import changed it).
inline std::unique_ptr<Package> smallPackage(std::uint32_t samples = 200) {
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    wad->texInfoCount = samples;
    Mesh& m = wad->appendMeshSlot();
    m.sphereX = 11;
    m.sphereRadius = 99;
    m.extraWord = 7;
    for (int k = 0; k < 5; ++k)
        m.vertices[k] = {std::int16_t(10 * k), std::int16_t(-k), std::int16_t(3)};
    m.vertexCount = 5;
    m.normalCount = -5;
    m.shades.fill(1234);
    m.faces[0] = {kShapeQuad, {0, 1, 2, 3}, 5, 0, 1, 0};
    m.faces[1] = {kShapeTriangle, {0, 2, 4, 77}, 0x2003, 3, 1, 0};
    m.faceCount = 2;
    return wad;
}

inline void addVertex(Mesh& m, int x, int y, int z) {
    m.vertices[m.vertexCount++] = {std::int16_t(x), std::int16_t(y), std::int16_t(z)};
}

inline MeshFace& addQuad(Mesh& m, int a, int b, int c, int d, std::uint16_t texture,
                         std::uint16_t attributes = 0) {
    MeshFace& f = m.faces[std::size_t(m.faceCount++)];
    f = {kShapeQuad, {std::uint16_t(a), std::uint16_t(b), std::uint16_t(c), std::uint16_t(d)},
         texture,    attributes,
         1,          0};
    return f;
}

inline MeshFace& addTriangle(Mesh& m, int a, int b, int c, std::uint16_t texture,
                             std::uint16_t attributes = 0) {
    MeshFace& f = m.faces[std::size_t(m.faceCount++)];
    f = {kShapeTriangle,
         {std::uint16_t(a), std::uint16_t(b), std::uint16_t(c), 0},
         texture,
         attributes,
         1,
         0};
    return f;
}

// Everything a mesh slot holds, whole arrays included, as text.
inline std::string meshDump(const Mesh& m) {
    std::ostringstream o;
    o << m.sphereX << ' ' << m.sphereY << ' ' << m.sphereZ << ' ' << m.sphereRadius << ' '
      << m.extraWord << ' ' << m.vertexCount << ' ' << m.normalCount << ' ' << m.faceCount << ' '
      << int(m.hasHiddenFaces) << '\n';
    for (std::size_t k = 0; k < kMaxMeshVertices; ++k) {
        const MeshVertex& v = m.vertices[k];
        const MeshNormal& n = m.normals[k];
        const MeshFace& f = m.faces[k];
        o << v.x << ',' << v.y << ',' << v.z << ' ' << n.x << ',' << n.y << ',' << n.z << ' '
          << m.shades[k] << ' ' << f.shape << ':' << f.vertexIndex[0] << ',' << f.vertexIndex[1]
          << ',' << f.vertexIndex[2] << ',' << f.vertexIndex[3] << ':' << f.texture << ':'
          << f.attributes << ':' << int(f.visible) << ':' << int(f.reserved) << '\n';
    }
    return o.str();
}

inline std::string readText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void writeText(const std::filesystem::path& p, const std::string& text) {
    std::ofstream out(p, std::ios::binary);
    out << text;
}

// A fresh directory for one test.
inline std::filesystem::path tempDir(const std::string& name) {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir = std::filesystem::temp_directory_path() / "kavlen-interchange-tests" /
               (std::string(info->test_suite_name()) + "." + info->name() + "." + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// A path whose name leaves no room for the temporary file that a safe write puts
// beside it, so writing there fails while the file itself can exist.
// A target that no write can replace (a folder of that name holding a file), so
// a writer's failure path runs even as root.
inline std::filesystem::path unwritableBeside(const std::filesystem::path& dir) {
    const auto target = dir / "taken";
    std::filesystem::create_directories(target);
    std::ofstream(target / "old", std::ios::binary) << "old content";
    return target;
}

// Sets a locale whose decimal separator is a comma for the life of the object:
// de_DE.UTF-8 for C functions when the system has it, and a comma numpunct for C++.
class CommaLocale {
  public:
    CommaLocale() : old_(std::locale()) {
        const char* c = std::setlocale(LC_ALL, nullptr);
        oldC_ = c ? c : "C";
        std::setlocale(LC_ALL, "de_DE.UTF-8");
        std::locale::global(std::locale(std::locale::classic(), new Comma));
    }
    ~CommaLocale() {
        std::locale::global(old_);
        std::setlocale(LC_ALL, oldC_.c_str());
    }

  private:
    struct Comma : std::numpunct<char> {
        char do_decimal_point() const override { return ','; }
        char do_thousands_sep() const override { return '.'; }
        std::string do_grouping() const override { return "\3"; }
    };
    std::locale old_;
    std::string oldC_;
};

} // namespace kavlen::test

namespace kavlen {
// Readable messages in test failures.
inline void PrintTo(const Message& m, std::ostream* os) {
    *os << "{" << int(m.kind) << ", \"" << m.text << "\"}";
}
} // namespace kavlen
