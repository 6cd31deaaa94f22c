// What scripts rely on for every kavlen-cli command: where messages go, the exit
// status, and the shape of the --json output (parsed back, not compared as text).
#include "document/package.h"
#include "document/safe_write.h"
#include "run_cli.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

namespace kavlen {
namespace {

using test::CliResult;
using test::demoPath;
using test::runCli;
using Json = nlohmann::json;
namespace fs = std::filesystem;

class CliConventions : public test::CliTest {
  protected:
    void write(const char* name, const std::string& text) const {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }

    // The demo package with faults that check reports but that still loads.
    std::string writeBrokenPackage() const {
        Package wad;
        EXPECT_TRUE(loadWad(wad, demoPath()).ok());
        wad.meshes[1].faces[0].vertexIndex[1] = 77;
        wad.texInfos[3].page = 9;
        std::array<std::uint32_t, kMaxMeshPointers> pointers{};
        std::uint32_t words = 0;
        EXPECT_TRUE(writeFileSafely(dir_ / "broken.wad", serializeWad(wad, pointers, words)).ok);
        return path("broken.wad");
    }

    static Json parse(const CliResult& r) {
        try {
            return Json::parse(r.out);
        } catch (const Json::exception& e) {
            ADD_FAILURE() << e.what() << "\n" << r.out;
            return {};
        }
    }
};

// Every message line on standard error starts with the prefix; continuation
// lines are indented below it.
void expectMessageLines(const std::string& err, const std::string& kind) {
    std::istringstream lines(err);
    std::string line;
    bool first = true;
    while (std::getline(lines, line)) {
        if (first)
            EXPECT_EQ(line.rfind("kavlen-cli: " + kind + ": ", 0), 0u) << err;
        else
            EXPECT_TRUE(line.rfind("kavlen-cli: ", 0) == 0 || line.rfind("  ", 0) == 0) << err;
        first = false;
    }
    EXPECT_FALSE(first) << "no message on standard error";
}

// The command names listed by --help.
std::vector<std::string> commandNames() {
    const CliResult help = runCli({"--help"});
    std::vector<std::string> names;
    std::istringstream lines(help.out.substr(0, help.out.find("\n\n", help.out.find("Commands:"))));
    std::string line;
    while (std::getline(lines, line)) {
        if (line.size() > 2 && line.rfind("  ", 0) == 0 && line[2] != ' ')
            names.push_back(line.substr(2, line.find(' ', 2) - 2));
    }
    return names;
}

TEST_F(CliConventions, UsageErrorsExitTwoForEveryCommand) {
    const std::vector<std::string> names = commandNames();
    ASSERT_GE(names.size(), 28u); // the commands of this version at least
    const std::string help = runCli({"--help"}).out;
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        // No arguments at all, and an option no command knows.
        for (const std::vector<std::string>& args :
             {std::vector<std::string>{name}, {name, "--no-such-option"}}) {
            const CliResult r = runCli(args);
            EXPECT_EQ(r.status, 2);
            EXPECT_EQ(r.out, "");
            EXPECT_EQ(r.err.rfind("kavlen-cli: error: " + name + ": ", 0), 0u) << r.err;
            EXPECT_NE(r.err.find("\n  usage: kavlen-cli " + name + " "), std::string::npos);
            expectMessageLines(r.err, "error");
        }
        // --json is refused by the commands that do not list it.
        const bool json = help.find("  " + name + " ") != std::string::npos &&
                          help.find("[--json]", help.find("  " + name + " ")) <
                              help.find('\n', help.find("  " + name + " "));
        if (!json) {
            EXPECT_EQ(runCli({name, demoPath(), "--json"}).status, 2);
        }
    }
    for (const char* json : {"info", "check", "about", "find-texture", "unused"})
        EXPECT_NE(help.find(std::string("  ") + json + " "), std::string::npos) << json;
    EXPECT_NE(help.find("Exit status:\n  0 "), std::string::npos) << help;
    // The manual page describes every command.
    std::ifstream manFile(fs::path(KAVLEN_SAMPLES_DIR).parent_path() / "man" / "kavlen-cli.1");
    const std::string man{std::istreambuf_iterator<char>(manFile), {}};
    for (const std::string& name : names)
        EXPECT_NE(man.find(".BI " + name + " \""), std::string::npos) << name << " in the man page";

    CliResult r = runCli({});
    EXPECT_EQ(r.status, 2);
    r = runCli({"no-such-command"});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(r.err,
              "kavlen-cli: error: unknown command 'no-such-command' (see kavlen-cli --help)\n");
    r = runCli({"--version"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out.rfind("kavlen-cli ", 0), 0u);
    EXPECT_EQ(r.out.find_first_not_of("0123456789.", 11), r.out.size() - 1) << r.out;
    r = runCli({"info", path("missing.wad")});
    EXPECT_EQ(r.status, 2);
    expectMessageLines(r.err, "error");
}

TEST_F(CliConventions, RefusalsGoToStandardErrorWithStatusOne) {
    write("bad.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3 4 5\n");
    write("bad.tav", "Norvahl");
    ASSERT_EQ(runCli({"static-lighting", demoPath(), "0", "5", path("lit.wad")}).status, 0);
    ASSERT_EQ(runCli({"export-texture", demoPath(), "37", path("narrow.bmp")}).status, 0);
    struct Case {
        std::vector<std::string> args;
        const char* message;
    };
    const std::string out = path("out.wad");
    const std::vector<Case> cases = {
        {{"move", demoPath(), "0", "0", "40000", "0", out}, "Mesh not moved"},
        {{"import-obj", demoPath(), "0", path("bad.obj"), out},
         "unable to load file.\n  Error message is:\n  Line 4: a face uses vertex 4"},
        {{"import-mqo", demoPath(), "0", path("bad.obj"), out},
         "It has no vertices in visible objects."},
        {{"export-dxf", demoPath(), "99", path("out.dxf")}, "No mesh selected."},
        {{"restore-tav", demoPath(), path("bad.tav"), out}, "Invalid TAV File Format!!"},
        {{"recalc-normals", path("lit.wad"), "0", out}, "Mesh uses static lighting."},
        {{"import-atlas", demoPath(), path("narrow.bmp"), out}, "must be 256 pixels wide"},
        {{"save-tav", demoPath(), path("no-folder/out.tav")}, "Cannot write"},
        {{"import-moveable", demoPath(), "9", path("bad.obj"), out}, "There is no Moveable #9."},
        {{"delete-page", demoPath(), "1", out}, "Page#1 still holds 6 textures"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const CliResult r = runCli(c.args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
        expectMessageLines(r.err, "error");
        EXPECT_FALSE(fs::exists(out));
        EXPECT_FALSE(fs::exists(path("out.dxf")));
    }
}

TEST_F(CliConventions, InfoAndCheckReportEachFileAsJson) {
    const std::string broken = writeBrokenPackage();
    // A name that needs escaping and is not ASCII.
    const std::string odd = path("quote\" back\\slash \xC3\xA9.wad");
    fs::copy_file(demoPath(), odd);
    write("not.wad", "12345678");

    CliResult r = runCli({"info", demoPath(), odd, "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    Json j = parse(r);
    ASSERT_EQ(j["files"].size(), 2u);
    EXPECT_EQ(j["files"][1]["path"], odd);
    for (const Json& file : j["files"]) {
        EXPECT_EQ(file["loaded"], true);
        EXPECT_EQ(file["counts"]["version"], 129);
        EXPECT_EQ(file["counts"]["samples"], 62);
        EXPECT_EQ(file["counts"]["meshes"], 13);
        EXPECT_EQ(file["counts"].size(), 16u);
    }

    r = runCli({"check", demoPath(), broken, "--json"});
    EXPECT_EQ(r.status, 1);
    j = parse(r);
    ASSERT_EQ(j["files"].size(), 2u);
    EXPECT_EQ(j["files"][0]["problems"].size(), 0u);
    const Json& problems = j["files"][1]["problems"];
    ASSERT_EQ(problems.size(), 2u) << problems;
    EXPECT_NE(problems[0].get<std::string>().find("vertex index 77"), std::string::npos);
    EXPECT_NE(problems[1].get<std::string>().find("page 9 does not exist"), std::string::npos);

    // A file that cannot be read is reported in place; the others still are.
    r = runCli({"check", path("not.wad"), demoPath(), "--json"});
    EXPECT_EQ(r.status, 2);
    j = parse(r);
    ASSERT_EQ(j["files"].size(), 2u);
    EXPECT_EQ(j["files"][0]["loaded"], false);
    EXPECT_NE(j["files"][0]["error"].get<std::string>().find("Invalid Tomb Raider File Format!!"),
              std::string::npos);
    EXPECT_EQ(j["files"][1]["loaded"], true);
    expectMessageLines(r.err, "error");

    // Text form of several files: each line names its file.
    r = runCli({"check", demoPath(), broken});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out.rfind(demoPath() + ": no problems found\n" + broken + ": mesh 1 face 0", 0), 0u)
        << r.out;
    r = runCli({"info", demoPath(), odd});
    EXPECT_NE(r.out.find(odd + ": keyframeWords: 24\n"), std::string::npos) << r.out;
}

TEST_F(CliConventions, AboutFindTextureAndUnusedAsJsonAgreeWithTheText) {
    CliResult r = runCli({"find-texture", demoPath(), "5", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    Json j = parse(r);
    EXPECT_EQ(j["sample"], 5);
    EXPECT_EQ(j["total"], 6);
    EXPECT_EQ(j["faces"].size(), 6u);
    std::string faceLines;
    for (const Json& f : j["faces"])
        faceLines += "Mesh#" + std::to_string(f["mesh"].get<int>()) + " Poly#" +
                     std::to_string(f["face"].get<int>()) + "\n";
    std::string meshLines;
    for (const Json& m : j["meshes"])
        meshLines += "Mesh#" + std::to_string(m["mesh"].get<int>()) + "  (" +
                     std::to_string(m["faces"].get<int>()) + " of " +
                     std::to_string(m["of"].get<int>()) + " faces)\n";
    EXPECT_EQ(runCli({"find-texture", demoPath(), "5", "--faces"}).out,
              "Used by 6 faces in the wad.\n" + meshLines + faceLines);

    r = runCli({"about", demoPath(), "10", "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    j = parse(r);
    EXPECT_EQ(j["mesh"], 10);
    EXPECT_EQ(j["meshType"], "Static");
    EXPECT_EQ(j["lightingType"], "Static");
    EXPECT_EQ(j["texturesUsed"].size(), 9u);
    EXPECT_EQ(j["texturesUsed"][0], 50);
    EXPECT_EQ(j["invalidTextures"], false);

    r = runCli({"about", writeBrokenPackage(), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    j = parse(r);
    EXPECT_EQ(j["meshes"], 13);
    EXPECT_EQ(j["lists"].size(), 5u);
    EXPECT_EQ(j["lists"]["shine"][0], 0);
    EXPECT_EQ(j["lists"]["textureZero"], Json::array({6, 9}));

    r = runCli({"unused", demoPath(), "--json"});
    ASSERT_EQ(r.status, 0) << r.err;
    j = parse(r);
    EXPECT_EQ(j["samples"], 62);
    std::string unusedLines;
    for (const Json& s : j["unused"])
        unusedLines += "Texture#" + std::to_string(s["sample"].get<int>()) + " Page#" +
                       std::to_string(s["page"].get<int>()) +
                       " x=" + std::to_string(s["x"].get<int>()) +
                       " y=" + std::to_string(s["y"].get<int>()) + " " +
                       std::to_string(s["width"].get<int>()) + " x " +
                       std::to_string(s["height"].get<int>()) + "\n";
    EXPECT_EQ(j["pagesOnlyUnused"], Json::array());
    EXPECT_EQ(runCli({"unused", demoPath()}).out,
              unusedLines + "unused textures: 13 of 62\npages holding only unused textures: 0\n"
                            "pages holding no texture: 0\n");
}

} // namespace
} // namespace kavlen
