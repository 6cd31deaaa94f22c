#include "document/demo_package.h"
#include "textures/buffered_file.h"
#include "textures/texture_set.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <zlib.h>

using namespace kavlen;

namespace {

std::unique_ptr<Package> emptyPackage() {
    auto wad = std::make_unique<Package>();
    wad->version = 129;
    return wad;
}

std::filesystem::path tempDir() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    auto dir = std::filesystem::temp_directory_path() / "kavlen-texture-set-tests" / info->name();
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

std::vector<std::uint8_t> readBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& p, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

// Everything Restore may change, as text.
std::string textureSetState(const Package& wad) {
    std::ostringstream o;
    o << wad.texInfoCount << " " << wad.meshCount << "\n";
    for (std::uint32_t i = 0; i < wad.texInfoCount; ++i) {
        const TexInfo& t = wad.texInfos[i];
        o << int(t.x) << "," << int(t.y) << "," << t.page << "," << int(t.xFlag) << ","
          << int(t.width) << "," << int(t.yFlag) << "," << int(t.height) << " ";
    }
    for (std::size_t m = 0; m < wad.meshCount; ++m) {
        const Mesh& mesh = wad.meshes[m];
        o << "\n"
          << mesh.sphereX << " " << mesh.sphereY << " " << mesh.sphereZ << " " << mesh.sphereRadius
          << " " << mesh.extraWord << " " << mesh.vertexCount << " " << mesh.normalCount << " "
          << mesh.faceCount << " " << int(mesh.hasHiddenFaces) << ":";
        for (int k = 0; k < mesh.vertexCount; ++k)
            o << mesh.vertices[k].x << "," << mesh.vertices[k].y << "," << mesh.vertices[k].z
              << " ";
        for (int k = 0; k < mesh.normalCount; ++k)
            o << mesh.normals[k].x << "," << mesh.normals[k].y << "," << mesh.normals[k].z << " ";
        for (int k = 0; k < -mesh.normalCount; ++k)
            o << mesh.shades[k] << " ";
        for (int f = 0; f < mesh.faceCount; ++f) {
            const MeshFace& face = mesh.faces[f];
            o << face.shape << "/" << face.vertexIndex[0] << "/" << face.vertexIndex[1] << "/"
              << face.vertexIndex[2] << "/" << face.vertexIndex[3] << "/" << face.texture << "/"
              << face.attributes << "/" << int(face.visible) << "/" << int(face.reserved) << " ";
        }
    }
    return o.str();
}

bool yes(const UserQuestion&) {
    return true;
}

void putU16(std::vector<std::uint8_t>& b, std::size_t at, std::uint16_t v) {
    b[at] = std::uint8_t(v);
    b[at + 1] = std::uint8_t(v >> 8);
}

} // namespace

TEST(TextureSet, EmptyPackageIs23Bytes) {
    auto wad = emptyPackage();
    const auto content = buildTextureSetContent(*wad);
    ASSERT_EQ(content.size(), 23u);
    EXPECT_EQ(content[0], 16);
    EXPECT_EQ(std::string(content.begin() + 1, content.begin() + 17), "Norvahl Tav file");
    for (std::size_t i = 17; i < 23; ++i)
        EXPECT_EQ(content[i], 0);
}

TEST(TextureSet, ShadesNormalsAndFaceRecordsTakeTheirSizes) {
    auto wad = emptyPackage();
    Mesh& a = wad->appendMeshSlot();
    a.vertexCount = 10;
    a.normalCount = -10;
    Mesh& b = wad->appendMeshSlot();
    b.vertexCount = 3;
    b.normalCount = 0;
    b.faceCount = 1;
    b.faces[0] = {kShapeTriangle, {1, 2, 3, 4}, 0xABCD, 0x1234, 0, 9};
    const auto content = buildTextureSetContent(*wad);
    // Header 23; mesh a: 14 + 60 vertices + 20 shades + 2; mesh b: 14 + 18 + 0 + 2 + 16.
    ASSERT_EQ(content.size(), 23u + 96u + 50u);
    const std::uint8_t face[16] = {8, 0, 1, 0, 2, 0, 3, 0, 4, 0, 0xCD, 0xAB, 0x34, 0x12, 0, 9};
    EXPECT_EQ(std::memcmp(content.data() + content.size() - 16, face, 16), 0);
}

TEST(TextureSet, SaveIsPackedAndRestoresExactlyLikeThePlainForm) {
    const auto dir = tempDir();
    auto demo = makeDemoPackage();
    demo->meshes[3].faces[2].visible = 0;
    demo->meshes[3].hasHiddenFaces = 1;
    demo->meshes[5].faces[0].reserved = 0x5A;
    const std::string saved = textureSetState(*demo);

    const TextureSetResult s = saveTextureSet(*demo, dir / "demo.tav");
    ASSERT_TRUE(s.ok);
    EXPECT_EQ(s.sampleCount, demo->texInfoCount);
    EXPECT_EQ(s.meshCount, demo->meshCount);
    const auto file = readBytes(dir / "demo.tav");
    const auto content = buildTextureSetContent(*demo);
    ASSERT_GT(file.size(), 12u);
    EXPECT_EQ(std::string(file.begin(), file.begin() + 4), "ZLIB");
    const std::uint32_t packed =
        file[4] | file[5] << 8 | file[6] << 16 | std::uint32_t(file[7]) << 24;
    const std::uint32_t size =
        file[8] | file[9] << 8 | file[10] << 16 | std::uint32_t(file[11]) << 24;
    EXPECT_EQ(packed, file.size() - 12);
    EXPECT_EQ(size, content.size());
    std::vector<std::uint8_t> inflated(size);
    uLongf out = size;
    ASSERT_EQ(uncompress(inflated.data(), &out, file.data() + 12, packed), Z_OK);
    EXPECT_EQ(inflated, content);
    EXPECT_EQ(file[12], 0x78);
    EXPECT_EQ(file[13], 0xDA); // zlib header of level 9

    // Scramble the package, then restore it from the packed and the plain file.
    writeBytes(dir / "plain.tav", content);
    for (const char* name : {"demo.tav", "plain.tav"}) {
        auto other = makeDemoPackage();
        other->texInfos[5].x ^= 1;
        other->meshes[3].faces[2].visible = 1;
        other->meshes[3].hasHiddenFaces = 0;
        other->meshes[0].vertexCount = 2;
        const TextureSetResult r = restoreTextureSet(*other, dir / name, yes);
        ASSERT_TRUE(r.ok) << name;
        EXPECT_EQ(r.changedSamples, std::vector<int>{5});
        EXPECT_EQ(r.changedMeshes, (std::vector<int>{0, 3, 5}));
        EXPECT_TRUE(r.messages.empty());
        other->meshes[3].hasHiddenFaces = 1; // Restore leaves this flag alone
        EXPECT_EQ(textureSetState(*other), saved) << name;
        EXPECT_EQ(other->textureData, demo->textureData);
    }
    // The flag Restore does not touch.
    auto other = makeDemoPackage();
    ASSERT_TRUE(restoreTextureSet(*other, dir / "demo.tav", yes).ok);
    EXPECT_EQ(other->meshes[3].hasHiddenFaces, 0);
    EXPECT_EQ(other->meshes[3].faces[2].visible, 0);
}

TEST(TextureSet, RestoreRefusesBadFilesAndLeavesThePackageAlone) {
    const auto dir = tempDir();
    auto wad = makeDemoPackage();
    const std::string before = textureSetState(*wad);
    const std::vector<std::uint8_t> good = buildTextureSetContent(*wad);
    const std::size_t meshStart = 23 + 8 * wad->texInfoCount;

    std::vector<std::pair<std::vector<std::uint8_t>, std::string>> cases;
    auto wrongCase = good;
    wrongCase[16] = 'E'; // "Norvahl Tav filE"
    cases.push_back({wrongCase, "Invalid TAV File Format!!"});
    cases.push_back({{}, "Invalid TAV File Format!!"});
    cases.push_back(
        {std::vector<std::uint8_t>(good.begin(), good.begin() + 16), "Invalid TAV File Format!!"});
    cases.push_back({std::vector<std::uint8_t>(good.begin(), good.begin() + 17),
                     "The TAV file ends early (in the sample count)."});
    cases.push_back({std::vector<std::uint8_t>(good.begin(), good.end() - 1),
                     "The TAV file ends early (in mesh 12)."});
    auto manySamples = good;
    manySamples[17] = 0x88;
    manySamples[18] = 0x13; // 5000
    cases.push_back(
        {manySamples, "The TAV file holds 5000 texture samples; a package holds at most 4096."});
    auto manyMeshes = good;
    putU16(manyMeshes, meshStart - 2, 1001);
    cases.push_back({manyMeshes, "The TAV file holds 1001 meshes; a package holds at most 1000."});
    auto manyVertices = good;
    putU16(manyVertices, meshStart + 10, 1501);
    cases.push_back(
        {manyVertices, "Mesh 0 of the TAV file has 1501 vertices; a mesh holds at most 1500."});
    auto manyShades = good;
    putU16(manyShades, meshStart + 12, static_cast<std::uint16_t>(-1501));
    cases.push_back(
        {manyShades, "Mesh 0 of the TAV file has 1501 shades; a mesh holds at most 1500."});
    for (const auto& [bytes, message] : cases) {
        writeBytes(dir / "bad.tav", bytes);
        const TextureSetResult r = restoreTextureSet(*wad, dir / "bad.tav", yes);
        EXPECT_FALSE(r.ok) << message;
        EXPECT_EQ(r.messages, (Messages{{MessageKind::Information, message}}));
        EXPECT_EQ(textureSetState(*wad), before) << message;
        // The same bytes packed are refused alike.
        if (bytes.size() > 16) {
            const TextureSetResult p = restoreTextureSetFromBytes(*wad, packContent(bytes), yes);
            EXPECT_EQ(p.messages, (Messages{{MessageKind::Information, message}}));
        }
    }

    // Packed files that do not unpack.
    auto packed = packContent(good);
    std::vector<std::vector<std::uint8_t>> broken;
    broken.push_back(std::vector<std::uint8_t>(packed.begin(), packed.end() - 10)); // cut short
    auto corrupt = packed;
    corrupt[40] ^= 0xFF;
    broken.push_back(corrupt);
    auto lying = packed;
    lying[8] = std::uint8_t(lying[8] + 1); // announces one byte more than it holds
    broken.push_back(lying);
    auto huge = packed;
    huge[11] = 0x7F; // announces ~2 GB
    broken.push_back(huge);
    auto shortPacked = packed;
    shortPacked[4] = 0xFF;
    shortPacked[5] = 0xFF;
    shortPacked[6] = 0xFF; // packed size beyond the file
    broken.push_back(shortPacked);
    for (const auto& bytes : broken) {
        const TextureSetResult r = restoreTextureSetFromBytes(*wad, bytes, yes);
        EXPECT_FALSE(r.ok);
        ASSERT_EQ(r.messages.size(), 1u);
        EXPECT_EQ(r.messages[0].kind, MessageKind::Error);
    }
    EXPECT_EQ(textureSetState(*wad), before);

    const TextureSetResult missing = restoreTextureSet(*wad, dir / "missing.tav", yes);
    EXPECT_FALSE(missing.ok);
    EXPECT_EQ(missing.messages.at(0).kind, MessageKind::Error);
    Package unloaded;
    EXPECT_EQ(restoreTextureSet(unloaded, dir / "bad.tav", yes).messages,
              (Messages{{MessageKind::Error, "No wad opened."}}));
    EXPECT_EQ(saveTextureSet(unloaded, dir / "x.tav").messages,
              (Messages{{MessageKind::Error, "No wad opened."}}));
}

// A set is restored only over the package it belongs to: what differs is said,
// nothing changes on a refusal, and a set that fits is applied after a yes.
TEST(TextureSet, RestoreChecksTheSetBelongsToThePackage) {
    struct Case {
        const char* name;
        std::function<void(Package&)> changePackage; // before the restore
        std::function<void(Package&)> changeSet;     // the package the set is saved from
        std::string message;                         // refusal, or "" when it asks
        std::string question;
        std::vector<int> samples, meshes;
    };
    const std::vector<Case> cases = {
        {"foreign set with fewer meshes",
         {},
         [](Package& w) { w.meshCount = 2; },
         "The texture set holds 2 meshes; this package has 13. Nothing was restored.",
         "",
         {},
         {}},
        {"package with an added mesh",
         [](Package& w) { w.appendMeshSlot(); },
         {},
         "The texture set holds 13 meshes; this package has 14. Nothing was restored.",
         "",
         {},
         {}},
        {"other sample count",
         {},
         [](Package& w) { --w.texInfoCount; },
         "The texture set holds 61 samples; this package has 62. Nothing was restored.",
         "",
         {},
         {}},
        {"sample on a missing page",
         {},
         [](Package& w) { w.texInfos[7].page = 3; },
         "Sample 7 of the texture set lies on page 3; this package has 3 pages. Nothing was "
         "restored.",
         "",
         {},
         {}},
        {"the package's own set",
         {},
         {},
         "The texture set equals this package's samples and meshes. Nothing was restored.",
         "",
         {},
         {}},
        {"other samples and texture words",
         {},
         [](Package& w) {
             w.texInfos[4].x ^= 8;
             w.texInfos[9].height ^= 1;
             w.meshes[6].faces[0].texture ^= 1;
         },
         "",
         "Restore the texture set over this package?\r\nIt changes 2 samples of 62 and mesh 6.",
         {4, 9},
         {6}},
        {"other geometry",
         {},
         [](Package& w) {
             for (int m : {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12})
                 ++w.meshes[std::size_t(m)].vertices[0].x;
         },
         "",
         "Restore the texture set over this package?\r\nIt changes meshes 0, 1, 2, 3, 4, 5, 7, 8, "
         "9, 10 and 2 more.\r\nThe vertices or faces of meshes 0, 1, 2, 3, 4, 5, 7, 8, 9, 10 and "
         "2 more change too.",
         {},
         {0, 1, 2, 3, 4, 5, 7, 8, 9, 10, 11, 12}},
    };
    for (const Case& c : cases) {
        auto source = makeDemoPackage();
        if (c.changeSet)
            c.changeSet(*source);
        const std::vector<std::uint8_t> set = buildTextureSetContent(*source);
        for (const bool answer : {false, true}) {
            auto wad = makeDemoPackage();
            if (c.changePackage)
                c.changePackage(*wad);
            const std::string before = textureSetState(*wad);
            std::vector<UserQuestion> asked;
            const TextureSetResult r =
                restoreTextureSetFromBytes(*wad, packContent(set), [&](const UserQuestion& q) {
                    asked.push_back(q);
                    return answer;
                });
            if (!c.message.empty()) {
                EXPECT_FALSE(r.ok) << c.name;
                EXPECT_TRUE(asked.empty()) << c.name;
                ASSERT_EQ(r.messages.size(), 1u) << c.name;
                EXPECT_EQ(r.messages[0].text, c.message) << c.name;
                EXPECT_EQ(textureSetState(*wad), before) << c.name;
                continue;
            }
            ASSERT_EQ(asked.size(), 1u) << c.name;
            EXPECT_EQ(asked[0].text, c.question) << c.name;
            EXPECT_EQ(asked[0].kind, MessageKind::Confirmation);
            EXPECT_EQ(asked[0].buttons, UserQuestion::Buttons::YesNo);
            EXPECT_EQ(r.ok, answer) << c.name;
            EXPECT_TRUE(r.messages.empty()) << c.name;
            if (!answer) {
                EXPECT_EQ(textureSetState(*wad), before) << c.name;
                continue;
            }
            EXPECT_EQ(r.changedSamples, c.samples) << c.name;
            EXPECT_EQ(r.changedMeshes, c.meshes) << c.name;
            EXPECT_EQ(buildTextureSetContent(*wad), set) << c.name;
        }
    }
}

TEST(TextureSet, FailedSaveKeepsTheOldFile) {
    const auto dir = tempDir();
    auto wad = makeDemoPackage();
    // A folder of the target's name holding a file: no save can replace it.
    const auto target = dir / "taken.tav";
    std::filesystem::create_directories(target);
    writeBytes(target / "old", {'o', 'l', 'd'});
    const TextureSetResult r = saveTextureSet(*wad, target);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.messages.at(0).kind, MessageKind::Error);
    EXPECT_EQ(readBytes(target / "old"), (std::vector<std::uint8_t>{'o', 'l', 'd'}));
}

TEST(BufferedFile, GrowsByStepsAndReadsShortAtTheEnd) {
    const auto dir = tempDir();
    BufferedFile f;
    f.assign(dir / "f.bin");
    EXPECT_FALSE(f.packed);
    f.openForWriting(1);
    EXPECT_EQ(f.capacity(), BufferedFile::kBufferStep);
    std::vector<std::uint8_t> block(BufferedFile::kBufferStep - 10, 7);
    f.write(block.data(), block.size());
    EXPECT_EQ(f.capacity(), BufferedFile::kBufferStep);
    const std::uint8_t twenty[20] = {1, 2, 3};
    f.write(twenty, 20);
    EXPECT_EQ(f.capacity(), BufferedFile::kBufferStep + 10 + BufferedFile::kBufferStep);
    EXPECT_EQ(f.size(), BufferedFile::kBufferStep + 10);
    f.packed = true;
    ASSERT_TRUE(f.close(true).ok);

    BufferedFile in;
    in.assign(dir / "f.bin");
    std::string message;
    ASSERT_TRUE(in.openForReading(1, 1 << 20, message)) << message;
    EXPECT_TRUE(in.packed);
    ASSERT_EQ(in.size(), BufferedFile::kBufferStep + 10);
    std::vector<std::uint8_t> back(BufferedFile::kBufferStep - 10);
    EXPECT_EQ(in.read(back.data(), back.size()), back.size());
    EXPECT_EQ(back, block);
    std::uint8_t tail[30];
    std::memset(tail, 0xEE, sizeof tail);
    EXPECT_EQ(in.read(tail, 30), 20u); // a read past the end delivers what is left
    EXPECT_EQ(tail[0], 1);
    EXPECT_EQ(tail[25], 0xEE); // and leaves the rest of the destination alone
    EXPECT_EQ(in.read(tail, 5), 0u);
    in.close(false);

    // A cap below the content refuses the packed file.
    BufferedFile capped;
    capped.assign(dir / "f.bin");
    EXPECT_FALSE(capped.openForReading(1, 1000, message));
}
