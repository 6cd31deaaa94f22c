// Runs the built kavlen-cli's interchange, texture-set and lighting commands on
// the demo package, as a user's batch job would.
#include "document/bounds.h"
#include "document/demo_package.h"
#include "interchange/dxf.h"
#include "interchange/obj_moveable.h"
#include "run_cli.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

using namespace kavlen;
using namespace kavlen::test;

namespace {

const std::string kDemo = demoPath();

std::string readText(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeText(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

std::filesystem::path tempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir = std::filesystem::temp_directory_path() / "kavlen-interchange-cli" / info->name();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// Runs kavlen-cli with `args` (paths quoted by q); `out` holds standard output and
// standard error as the user sees them.
struct CliRun {
    int status = -1;
    std::string out;
};

CliRun cli(const std::filesystem::path& dir, const std::string& args) {
    const auto out = dir / "cli-output.txt";
    const std::string command =
        shellQuote(KAVLEN_CLI) + " " + args + " > " + shellQuote(out.string()) + " 2>&1";
    const int raw = std::system(command.c_str());
    CliRun r;
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    r.out = readText(out);
    return r;
}

std::string q(const std::filesystem::path& p) {
    return shellQuote(p.string());
}

// The demo package as written after importing into mesh slot `slot` (or every
// mesh of moveable `moveable`): each with the bounding sphere an import computes.
std::string demoWithImportSpheres(int slot, int moveable = -1) {
    Package wad;
    EXPECT_EQ(loadWad(wad, kDemo).status, LoadResult::Ok);
    std::vector<int> slots{slot};
    if (moveable >= 0)
        slots = placeMoveable(wad, moveable).meshSlots;
    for (const int s : slots) {
        Mesh& m = wad.meshes[std::size_t(s)];
        if (const auto sphere = boundingSphere(m)) {
            m.sphereX = sphere->x;
            m.sphereY = sphere->y;
            m.sphereZ = sphere->z;
            m.sphereRadius = sphere->radius;
        }
    }
    std::array<std::uint32_t, kMaxMeshPointers> pointers{};
    std::uint32_t words = 0;
    const std::vector<std::uint8_t> bytes = serializeWad(wad, pointers, words);
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TEST(InterchangeCommands, DxfAndMqoRoundTripsOnTheDemoPackage) {
    const auto dir = tempDir();
    CliRun r = cli(dir, "export-dxf " + q(kDemo) + " 1 " + q(dir / "m.dxf"));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "mesh 1: 6 faces, 6 layers\n");
    r = cli(dir, "import-dxf " + q(kDemo) + " 0 " + q(dir / "m.dxf") + " " + q(dir / "a.wad") +
                     " --static 31");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "mesh 0: 5 vertices, 6 faces, static lighting\n");
    r = cli(dir, "mesh " + q(dir / "a.wad") + " 0");
    EXPECT_NE(r.out.find("normalCount -5\ns 0 8191\n"), std::string::npos) << r.out;
    // Scale and fit: a scale that does not fit is refused with one that does.
    const std::string import = "import-dxf " + q(kDemo) + " 0 " + q(dir / "m.dxf") + " ";
    r = cli(dir, import + q(dir / "c.wad") + " --scale 1000");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("the mesh was not changed. The scale "), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "c.wad"));
    r = cli(dir, import + q(dir / "c.wad") + " --fit");
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(cli(dir, import + q(dir / "d.wad") + " --fit --scale 2").status, 2);
    EXPECT_EQ(cli(dir, import + q(dir / "d.wad") + " --scale 0").status, 2);

    r = cli(dir, "export-mqo " + q(kDemo) + " 6 " + q(dir / "m.mqo"));
    ASSERT_EQ(r.status, 0) << r.out;
    r = cli(dir, "import-mqo " + q(kDemo) + " 6 " + q(dir / "m.mqo") + " " + q(dir / "b.wad"));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "mesh 6: 210 vertices, 224 faces, moveable lighting\n");
    // Same vertices and faces as before; only the normals were recalculated.
    const CliRun before = cli(dir, "mesh " + q(kDemo) + " 6");
    const CliRun after = cli(dir, "mesh " + q(dir / "b.wad") + " 6");
    const auto faces = [](const std::string& s) { return s.substr(s.find("faceCount")); };
    EXPECT_EQ(faces(after.out), faces(before.out));
}

TEST(InterchangeCommands, RefusedImportsExitWithOneAndWriteNothing) {
    const auto dir = tempDir();
    writeText(dir / "bad.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2\n");
    CliRun r =
        cli(dir, "import-obj " + q(kDemo) + " 0 " + q(dir / "bad.obj") + " " + q(dir / "x.wad"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "kavlen-cli: error: bad.obj holds no faces that can be imported; the mesh "
                     "was not changed.\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "x.wad"));
    writeText(dir / "good.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    r = cli(dir, "import-obj " + q(kDemo) + " 99 " + q(dir / "good.obj") + " " + q(dir / "x.wad"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "kavlen-cli: error: No mesh selected.\n");
    r = cli(dir, "import-obj " + q(kDemo) + " 12 " + q(dir / "good.obj") + " " + q(dir / "x.wad") +
                     " --static 40");
    EXPECT_EQ(r.status, 2);
    r = cli(dir, "import-obj " + q(kDemo) + " 12 " + q(dir / "good.obj") + " " + q(dir / "x.wad"));
    EXPECT_EQ(r.status, 0) << r.out;
    r = cli(dir, "import-mqo " + q(kDemo) + " 12 " + q(dir / "good.obj") + " " + q(dir / "x.wad"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "kavlen-cli: error: good.obj holds no faces that can be imported; the mesh "
                     "was not changed. It has no vertices in visible objects.\n");
    writeText(dir / "bad.mqo",
              "Metasequoia Document\nFormat Text Ver 2\nObject \"o\" {\n\tvisible 15\n"
              "\tvertex 3 {\n\t\t0 0 0\n\t}\n}\n} stray\n");
    r = cli(dir, "import-mqo " + q(kDemo) + " 12 " + q(dir / "bad.mqo") + " " + q(dir / "x.wad"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "kavlen-cli: error: Error reading file near line #9: expected \"}\" alone "
                     "on its line\n  } stray\n");
}

TEST(InterchangeCommands, ObjExportAndWholeMoveables) {
    const auto dir = tempDir();
    CliRun r = cli(dir, "export-obj " + q(kDemo) + " 2 " + q(dir / "wedge.obj"));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "mesh 2: 5 faces, 5 materials\n");
    EXPECT_TRUE(std::filesystem::exists(dir / "wedge_page0.png"));
    r = cli(dir, "import-obj " + q(kDemo) + " 2 " + q(dir / "wedge.obj") + " " + q(dir / "w.wad"));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(readText(dir / "w.wad"), demoWithImportSpheres(2));
    // Scale and fit as for DXF: a scale that does not fit is refused with one that does.
    const std::string import = "import-obj " + q(kDemo) + " 2 " + q(dir / "wedge.obj") + " ";
    r = cli(dir, import + q(dir / "c.wad") + " --scale 1000");
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("the mesh was not changed. The scale "), std::string::npos) << r.out;
    EXPECT_FALSE(std::filesystem::exists(dir / "c.wad"));
    r = cli(dir, import + q(dir / "c.wad") + " --scale 0.5");
    EXPECT_EQ(r.status, 0) << r.out;

    r = cli(dir, "export-moveable " + q(kDemo) + " 1 " + q(dir / "m.obj"));
    EXPECT_EQ(r.status, 0) << r.out;
    r = cli(dir, "import-moveable " + q(kDemo) + " 1 " + q(dir / "m.obj") + " " + q(dir / "m.wad"));
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "moveable 1: 28 vertices, 26 faces, moveable lighting\n");
    EXPECT_EQ(readText(dir / "m.wad"), demoWithImportSpheres(-1, 1));
    // Moveable 0 has a mesh the file of moveable 1 lacks: refused whole.
    r = cli(dir, "import-moveable " + q(kDemo) + " 0 " + q(dir / "m.obj") + " " + q(dir / "n.wad"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(
        r.out,
        "kavlen-cli: error: m.obj has no object Mesh_0 for mesh slot 0. Nothing was imported.\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "n.wad"));
    r = cli(dir, "export-moveable " + q(kDemo) + " 9 " + q(dir / "x.obj"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "kavlen-cli: error: There is no Moveable #9.\n");
}

TEST(InterchangeCommands, TextureSetsAndLighting) {
    const auto dir = tempDir();
    CliRun r = cli(dir, "save-tav " + q(kDemo) + " " + q(dir / "demo.tav"));
    ASSERT_EQ(r.status, 0) << r.out;
    // Change a mesh, then bring the texture set back over it.
    r = cli(dir, "static-lighting " + q(kDemo) + " 0 5 " + q(dir / "lit.wad"));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Shine removed from all faces.\nLighting changed from moveable to static.\n");
    r = cli(dir, "recalc-normals " + q(dir / "lit.wad") + " 0 " + q(dir / "x.wad"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "kavlen-cli: error: Mesh uses static lighting.\n");
    r = cli(dir, "restore-tav " + q(dir / "lit.wad") + " " + q(dir / "demo.tav") + " " +
                     q(dir / "restored.wad"));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "62 samples, 13 meshes restored\nchanged meshes: 0\n");
    EXPECT_EQ(readText(dir / "restored.wad"), readText(kDemo));

    r = cli(dir, "moveable-lighting " + q(dir / "lit.wad") + " 0 " + q(dir / "m.wad"));
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Averaged normals calculated.\nLighting changed from static to moveable.\n");
    r = cli(dir, "recalc-normals " + q(dir / "m.wad") + " 0 " + q(dir / "w.wad") + " --weighted");
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_EQ(r.out, "Weighted normals calculated.\n");

    writeText(dir / "bad.tav", "Norvahl");
    r = cli(dir, "restore-tav " + q(kDemo) + " " + q(dir / "bad.tav") + " " + q(dir / "y.wad"));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, "kavlen-cli: error: Invalid TAV File Format!!\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "y.wad"));
}

// A texture set restores only over the package it belongs to; commands that
// change nothing say why and exit 1 without writing.
TEST(InterchangeCommands, ForeignSetsAndEmptyMeshesAreRefusedWithAReason) {
    const auto dir = tempDir();
    ASSERT_EQ(cli(dir, "save-tav " + q(kDemo) + " " + q(dir / "demo.tav")).status, 0);
    ASSERT_EQ(cli(dir, "add-mesh " + q(kDemo) + " " + q(dir / "added.wad")).status, 0);
    const std::string added = readText(dir / "added.wad");
    const std::vector<std::pair<std::string, std::string>> refusals = {
        {"restore-tav " + q(dir / "added.wad") + " " + q(dir / "demo.tav"),
         "kavlen-cli: error: The texture set holds 13 meshes; this package has 14. Nothing was "
         "restored.\n"},
        {"restore-tav " + q(kDemo) + " " + q(dir / "demo.tav"),
         "kavlen-cli: error: The texture set equals this package's samples and meshes. Nothing was "
         "restored.\n"},
        {"restore-tav " + q(kDemo) + " " + q(dir),
         "kavlen-cli: error: Cannot open \"" + dir.string() + "\": it is a folder, not a file\n"},
        {"recalc-normals " + q(dir / "added.wad") + " 13",
         "kavlen-cli: error: mesh 13 is empty (no vertices, no faces); nothing written\n"},
        {"static-lighting " + q(dir / "added.wad") + " 13 5",
         "kavlen-cli: error: mesh 13 is empty (no vertices, no faces); nothing written\n"},
        {"moveable-lighting " + q(dir / "added.wad") + " 13",
         "kavlen-cli: error: mesh 13 is empty (no vertices, no faces); nothing written\n"},
    };
    for (const auto& [args, message] : refusals) {
        const CliRun r = cli(dir, args + " " + q(dir / "out.wad"));
        EXPECT_EQ(r.status, 1) << args;
        EXPECT_EQ(r.out, message) << args;
        EXPECT_FALSE(std::filesystem::exists(dir / "out.wad")) << args;
    }
    EXPECT_EQ(readText(dir / "added.wad"), added);
}

// An independent DXF reader (ezdxf) sees the same faces and layers.
TEST(InterchangeCommands, EzdxfReadsTheExportedDrawing) {
    if (std::system("/usr/bin/python3 -c 'import ezdxf' > /dev/null 2>&1") != 0)
        GTEST_SKIP() << "python3-ezdxf is not installed";
    const auto dir = tempDir();
    auto demo = makeDemoPackage();
    for (int slot : {0, 1, 6, 9}) {
        const auto file = dir / ("m" + std::to_string(slot) + ".dxf");
        ASSERT_EQ(
            cli(dir, "export-dxf " + q(kDemo) + " " + std::to_string(slot) + " " + q(file)).status,
            0);
        writeText(dir / "read.py", "import sys, ezdxf\n"
                                   "doc = ezdxf.readfile(sys.argv[1])\n"
                                   "faces = doc.modelspace().query('3DFACE')\n"
                                   "print(len(faces))\n"
                                   "print(' '.join(sorted(l.dxf.name for l in doc.layers if "
                                   "l.dxf.name not in ('0', 'Defpoints'))))\n"
                                   "print(' '.join(sorted(set(f.dxf.layer for f in faces))))\n"
                                   "v = faces[0].dxf.vtx0\n"
                                   "print('%.2f %.2f %.2f' % (v.x, v.y, v.z))\n");
        const std::string command = "/usr/bin/python3 " + q(dir / "read.py") + " " + q(file) +
                                    " > " + q(dir / "ezdxf.txt") + " 2>&1";
        ASSERT_EQ(std::system(command.c_str()), 0) << readText(dir / "ezdxf.txt");
        const Mesh& m = demo->meshes[std::size_t(slot)];
        std::set<std::string> layers;
        for (int f = 0; f < m.faceCount; ++f)
            layers.insert(dxfLayerName(m.faces[std::size_t(f)]));
        std::string names;
        for (const std::string& l : layers)
            names += (names.empty() ? "" : " ") + l;
        const MeshVertex& v = m.vertices[m.faces[0].vertexIndex[0]];
        char first[64];
        std::snprintf(first, sizeof first, "%.2f %.2f %.2f", v.x / 100.0, -int(v.z) / 100.0,
                      -int(v.y) / 100.0);
        EXPECT_EQ(readText(dir / "ezdxf.txt"),
                  std::to_string(m.faceCount) + "\n" + names + "\n" + names + "\n" + first + "\n")
            << "mesh " << slot;
    }
}
