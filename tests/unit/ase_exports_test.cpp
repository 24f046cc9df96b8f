// Models as other tools write them: small hand-made files in the layouts
// of 3ds Max, Q3Map2 and UTF-16 exporters, each checked against what the
// file says; the warnings for what the reader drops or cuts; and the
// reader's own number conversion against the C library's rules.

#include "scene/ase_reader.h"
#include "scene/ase_text.h"
#include "scene/ase_tokens.h"
#include "scene/number_text.h"
#include "scene_test_support.h"
#include "world/scene_files.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <unistd.h>

using namespace scenetest;

namespace {

const std::string Header = "*3DSMAX_ASCIIEXPORT\t200\n";

std::string material(int number, const std::string& name, const std::string& body)
{
    return "\t*MATERIAL " + std::to_string(number) + " {\n\t\t*MATERIAL_NAME \"" + name + "\"\n" + body +
           "\t}\n";
}

std::string materialList(int count, const std::string& materials)
{
    return "*MATERIAL_LIST {\n\t*MATERIAL_COUNT " + std::to_string(count) + "\n" + materials + "}\n";
}

std::string tvertList(const std::string& tag, const std::vector<std::string>& uvs, int faces)
{
    std::string out = "\t\t*MESH_NUMTVERTEX " + std::to_string(uvs.size()) + "\n\t\t*MESH_TVERTLIST {\n";
    for (size_t i = 0; i < uvs.size(); ++i)
        out += "\t\t\t*MESH_TVERT " + std::to_string(i) + "\t" + uvs[i] + "\n";
    out += "\t\t}\n\t\t*MESH_NUMTVFACES " + std::to_string(faces) + "\n\t\t*MESH_TFACELIST {\n";
    for (int f = 0; f < faces; ++f)
        out += "\t\t\t*MESH_TFACE " + std::to_string(f) + "\t0\t1\t2\n";
    return out + "\t\t}\n" + tag;
}

} // namespace

// A light map in a second mapping channel carries lists of its own; the
// node keeps the main channel's coordinates.
TEST(RealExports, MappingChannelsLeaveTheMainUvs)
{
    ScratchDir dir;
    const std::string channel = "\t\t*MESH_MAPPINGCHANNEL 2 {\n" +
                                tvertList("", {"0.9\t0.9\t0", "0.8\t0.8\t0", "0.7\t0.7\t0"}, 1) + "\t\t}\n";
    const std::string main = tvertList("", {"0.25\t0.5\t0", "1.0\t0.75\t0", "0.0\t1.0\t0"}, 1);
    auto scene = loadText(
        Header + squareObject("Lit", 0, face(0, 0, 1, 2), 1, "*WIREFRAME_COLOR 1 1 1\n", main + channel));
    ASSERT_EQ(scene->faces.size(), 1u);
    EXPECT_FLOAT_EQ(scene->faces[0].texA.u, 0.25f);
    EXPECT_FLOAT_EQ(scene->faces[0].texB.v, 0.75f);
    EXPECT_FLOAT_EQ(scene->faces[0].texC.v, 1.0f);
    EXPECT_TRUE(scene->warnings.empty());
}

// 3ds Max writes each face normal followed by the normals of its corners,
// Q3Map2 every face normal first and the vertex normals after them: both
// are taken per face, in file order.
TEST(RealExports, NormalsInEitherLayout)
{
    ScratchDir dir;
    auto faceNormal = [](int f, const char* xyz) {
        return "\t\t\t*MESH_FACENORMAL " + std::to_string(f) + "\t" + xyz + "\n";
    };
    std::string vertexNormals[2];
    for (int i = 0; i < 6; ++i) // numbered by vertex; the numbers play no part
        vertexNormals[i / 3] += "\t\t\t\t*MESH_VERTEXNORMAL " + std::to_string((i + 2) % 4) + "\t0." +
                                std::to_string(i + 1) + "\t0.0\t0.9\n";
    const std::string first = faceNormal(0, "0.0\t0.0\t1.0"), second = faceNormal(1, "0.0\t1.0\t0.0");
    for (const std::string& normals : {first + vertexNormals[0] + second + vertexNormals[1],
                                       first + second + vertexNormals[0] + vertexNormals[1]}) {
        SCOPED_TRACE(normals);
        auto scene = loadText(Header + squareObject("N", 0, face(0, 0, 1, 2) + face(1, 0, 2, 3), 2,
                                                    "*WIREFRAME_COLOR 1 1 1\n",
                                                    "\t\t*MESH_NORMALS {\n" + normals + "\t\t}\n"));
        ASSERT_EQ(scene->faces.size(), 2u);
        EXPECT_FLOAT_EQ(scene->faces[0].faceNormal.z, 1.0f);
        EXPECT_FLOAT_EQ(scene->faces[1].faceNormal.y, 1.0f);
        const MeshFace &a = scene->faces[0], &b = scene->faces[1];
        const float xs[] = {a.normalA.x, a.normalB.x, a.normalC.x, b.normalA.x, b.normalB.x, b.normalC.x};
        for (int i = 0; i < 6; ++i)
            EXPECT_FLOAT_EQ(xs[i], 0.1f * (i + 1)) << "corner " << i;
        EXPECT_FLOAT_EQ(a.normalC.z, 0.9f);
        EXPECT_TRUE(scene->warnings.empty());
    }
}

// A Q3Map2 material has no ambient colour, and a 3ds Max multi-material
// holds its sub-materials inside itself: neither shifts the materials after
// it, and MATERIAL_REF counts top-level materials only.
TEST(RealExports, MaterialsWithoutAmbientAndWithSubMaterials)
{
    ScratchDir dir;
    const std::string q3 = material(0, "textures/base/floor",
                                    "\t\t*MATERIAL_CLASS \"Standard\"\n"
                                    "\t\t*MATERIAL_DIFFUSE 0.5 0.25 1.0\n"
                                    "\t\t*MATERIAL_SHADING Phong\n"
                                    "\t\t*MAP_DIFFUSE {\n\t\t\t*BITMAP \"..\\base\\floor.tga\"\n\t\t}\n");
    const std::string multi = material(1, "Room",
                                       "\t\t*MATERIAL_CLASS \"Multi/Sub-Object\"\n"
                                       "\t\t*MATERIAL_AMBIENT 0.1 0.1 0.1\n"
                                       "\t\t*MATERIAL_DIFFUSE 0.2 0.2 0.2\n"
                                       "\t\t*NUMSUBMTLS 2\n"
                                       "\t\t*SUBMATERIAL 0 {\n\t\t\t*MATERIAL_NAME \"Wall\"\n"
                                       "\t\t\t*MATERIAL_DIFFUSE 0.9 0.0 0.0\n"
                                       "\t\t\t*MAP_DIFFUSE {\n\t\t\t\t*BITMAP \"wall.tga\"\n\t\t\t}\n\t\t}\n"
                                       "\t\t*SUBMATERIAL 1 {\n\t\t\t*MATERIAL_NAME \"Door\"\n"
                                       "\t\t\t*MATERIAL_DIFFUSE 0.0 0.9 0.0\n\t\t}\n");
    const std::string plain = material(2, "Plain",
                                       "\t\t*MATERIAL_AMBIENT 0 0 0\n"
                                       "\t\t*MATERIAL_DIFFUSE 0.0 0.0 0.75\n"
                                       "\t\t*MATERIAL_TRANSPARENCY 0.5\n");
    const std::string text = Header + materialList(3, q3 + multi + plain) +
                             squareObject("Floor", 0, face(0, 0, 1, 2), 1, "*MATERIAL_REF 0\n") +
                             squareObject("Room", 0, face(0, 0, 1, 2), 1, "*MATERIAL_REF 1\n") +
                             squareObject("Glass", 0, face(0, 0, 1, 2), 1, "*MATERIAL_REF 2\n");
    auto scene = loadText(text);
    ASSERT_EQ(scene->nodes.size(), 3u);
    ASSERT_EQ(scene->materials.size(), 3u);
    const Material& floor = scene->nodes[0].material;
    EXPECT_EQ(floor.name, "textures/base/floor");
    EXPECT_FLOAT_EQ(floor.diffuse.b, 1.0f);
    EXPECT_EQ(floor.ambient.r, 0.0f);
    EXPECT_EQ(floor.bitmap, "..\\base\\floor.tga");
    const Material& room = scene->nodes[1].material;
    EXPECT_EQ(room.name, "Room");
    EXPECT_FLOAT_EQ(room.diffuse.r, 0.2f); // its own colour, not a sub-material's
    EXPECT_TRUE(room.bitmap.empty());
    const Material& glass = scene->nodes[2].material;
    EXPECT_EQ(glass.name, "Plain");
    EXPECT_FLOAT_EQ(glass.diffuse.b, 0.75f);
    EXPECT_FLOAT_EQ(glass.transparency, 0.5f);
    EXPECT_EQ(scene->nodes[2].materialIndex, 2);
    EXPECT_TRUE(scene->warnings.empty());
}

// Tracks as the game's own tools write them, and as 3ds Max does: scale
// samples with the axis and angle of the scale after the three scales, and
// Bezier and TCB controllers, which the game does not play, passed over
// whole wherever they stand. An animation block without tracks ends at its
// brace and does not take the tracks of the next object.
TEST(RealExports, TracksAsEachExporterWritesThem)
{
    ScratchDir dir;
    auto block = [](const std::string& name, const std::string& tracks) {
        return "\t*TM_ANIMATION {\n\t\t*NODE_NAME \"" + name + "\"\n" + tracks + "\t}\n";
    };
    auto track = [](const char* kind, const std::string& samples) {
        return std::string("\t\t*CONTROL_") + kind + " {\n" + samples + "\t\t}\n";
    };
    const std::string positions = track("POS_TRACK", "*CONTROL_POS_SAMPLE 0\t0.0\t0.0\t0.0\n"
                                                     "*CONTROL_POS_SAMPLE 160\t0.0\t10.0\t0.0\n");
    const std::string turns = track("ROT_TRACK", "*CONTROL_ROT_SAMPLE 0\t0.0\t0.0\t1.0\t0.0\n"
                                                 "*CONTROL_ROT_SAMPLE 160\t0.0\t0.0\t1.0\t1.5\n");
    auto scales = [&](const std::string& axisAndAngle) {
        return track("SCALE_TRACK", "*CONTROL_SCALE_SAMPLE 0\t1.0\t1.0\t1.0" + axisAndAngle +
                                        "\n*CONTROL_SCALE_SAMPLE 320\t2.0\t3.0\t4.0" + axisAndAngle + "\n");
    };
    const std::string tcb =
        track("ROT_TCB", "*CONTROL_TCB_ROT_KEY 0\t0.0\t0.0\t1.0\t0.5\t25.0\t25.0\t25.0\t0.0\t0.0\n");
    const std::string bezierPositions =
        track("POS_BEZIER", "*CONTROL_BEZIER_POS_KEY 0\t1.0\t1.0\t1.0\t0.0\t0.0\t0.0\t0.0\t0.0\t0.0\t0\n");
    const std::string bezierScales =
        track("SCALE_BEZIER", "*CONTROL_BEZIER_SCALE_KEY 0\t9.0\t9.0\t9.0\t0.0\t0.0\t0.0\t0.0\n");
    const struct {
        const char* name;
        std::string tracks;
        bool moves, turns, scales;
    } objects[] = {
        {"Ours", positions + turns + scales(""), true, true, true},
        {"Max", positions + turns + scales("\t0.0\t0.0\t0.0\t0.0"), true, true, true},
        {"Tcb", positions + tcb + scales(""), true, false, true},
        {"Bezier", bezierPositions + turns + bezierScales, false, true, false},
        {"Still", "", false, false, false},
        {"After", positions, true, false, false},
    };
    std::string text = Header;
    for (const auto& o : objects)
        text += squareObject(o.name, 0, face(0, 0, 1, 2), 1,
                             block(o.name, o.tracks) + "*WIREFRAME_COLOR 0 1 0\n");
    auto scene = loadText(text);
    ASSERT_EQ(scene->nodes.size(), std::size(objects));
    for (size_t i = 0; i < std::size(objects); ++i) {
        const SceneNode& node = scene->nodes[i];
        SCOPED_TRACE(node.name);
        ASSERT_EQ(node.positionTrack.present, objects[i].moves);
        ASSERT_EQ(node.rotationTrack.present, objects[i].turns);
        ASSERT_EQ(node.scaleTrack.present, objects[i].scales);
        if (objects[i].moves) {
            EXPECT_EQ(node.positionTrack.times, (std::vector<float>{0, 160}));
            EXPECT_FLOAT_EQ(node.positionTrack.values[1].y, 10.0f);
        }
        if (objects[i].turns) {
            EXPECT_EQ(node.rotationTrack.angles, (std::vector<float>{0.0f, 1.5f}));
            EXPECT_FLOAT_EQ(node.rotationTrack.axes[1].z, 1.0f);
        }
        if (objects[i].scales) {
            ASSERT_EQ(node.scaleTrack.times, (std::vector<float>{0, 320}));
            const Vec4 last = node.scaleTrack.values[1];
            EXPECT_TRUE(last.x == 2.0f && last.y == 3.0f && last.z == 4.0f && last.w == 1.0f);
            EXPECT_FLOAT_EQ(node.scaleTrack.values[0].x, 1.0f);
        }
        EXPECT_FLOAT_EQ(node.material.diffuse.g, 1.0f); // the object's end found after the tracks
    }
}

// A UTF-16 file with its byte-order mark reads as the same text in UTF-8,
// either byte order, names beyond ASCII included.
TEST(RealExports, Utf16FilesReadAsUtf8)
{
    ScratchDir dir;
    const std::string utf8 =
        Header + squareObject("Gr\xC3\xBCn", 2, face(0, 0, 1, 2), 1, "*WIREFRAME_COLOR 0.5 0 0\n");
    auto reference = loadText(utf8, "utf8.ASE");
    ASSERT_EQ(reference->nodes.size(), 1u);
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big-endian" : "little-endian");
        std::string utf16 = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
        for (size_t i = 0; i < utf8.size(); ++i) {
            unsigned code = static_cast<unsigned char>(utf8[i]);
            if (code == 0xC3) // the one two-byte character: u with diaeresis
                code = 0xFC, ++i;
            const char low = static_cast<char>(code & 0xff), high = static_cast<char>(code >> 8);
            utf16 += bigEndian ? std::string{high, low} : std::string{low, high};
        }
        auto scene = loadText(utf16, "utf16.ASE");
        ASSERT_EQ(scene->nodes.size(), 1u);
        EXPECT_EQ(scene->nodes[0].name, "Gr\xC3\xBCn");
        EXPECT_FLOAT_EQ(scene->vertices[1].x, 3.0f);
        EXPECT_FLOAT_EQ(scene->nodes[0].material.diffuse.r, 0.5f);
    }
}

// The whole file is read, whatever its size: a file past the 9,000,000
// bytes the first reader held is no longer cut.
TEST(RealExports, LargeFilesAreReadWhole)
{
    ScratchDir dir;
    std::string text = Header;
    const std::string padding = "*COMMENT \"" + std::string(1000, 'x') + "\"\n";
    int objects = 0;
    while (text.size() < 9500000) {
        text += squareObject("Part" + std::to_string(objects++), 1, face(0, 0, 1, 2), 1,
                             "*WIREFRAME_COLOR 1 1 1\n");
        for (int i = 0; i < 20; ++i)
            text += padding;
    }
    auto scene = loadText(text);
    EXPECT_EQ(scene->nodeCount, static_cast<uint32_t>(objects));
    EXPECT_EQ(scene->nodes.back().name, "Part" + std::to_string(objects - 1));
    EXPECT_TRUE(scene->warnings.empty());
}

// Large files are mapped, small ones read, and every size near a page's
// end takes one way or the other: each gives the file's bytes, a zero after
// them and the zeros the tokens look ahead into.
TEST(RealExports, FilesOfEverySizeNearAPageEndReadWhole)
{
    ScratchDir dir;
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t k = AseText::MapFrom / page + 1;
    for (size_t size :
         {size_t(100), AseText::MapFrom - 1, k * page, k * page + 1, (k + 1) * page - AseText::Padding - 2,
          (k + 1) * page - AseText::Padding - 1, (k + 1) * page - AseText::Padding, (k + 1) * page - 1}) {
        SCOPED_TRACE(size);
        std::string bytes(size, 'x');
        for (size_t i = 0; i < size; i += 7)
            bytes[i] = static_cast<char>('a' + i % 26);
        writeFile("sized.ASE", bytes);
        AseText text;
        ASSERT_TRUE(text.readFile("sized.ASE"));
        ASSERT_EQ(text.size(), size);
        EXPECT_EQ(std::string_view(text.data(), size), bytes);
        for (size_t i = 0; i <= AseText::Padding; ++i)
            ASSERT_EQ(text.data()[size + i], '\0') << i;
    }
}

// Each kind of damage gives one warning that names it; a sound file none.
TEST(RealExports, WarningsTellWhatIsDroppedOrCut)
{
    ScratchDir dir;
    const std::string sound =
        Header + materialList(1, material(0, "M", "\t\t*MATERIAL_DIFFUSE 1 1 1\n")) +
        squareObject("Box", 0, face(0, 0, 1, 2) + face(1, 0, 2, 3), 2, "*MATERIAL_REF 0\n",
                     tvertList("", {"0 0 0", "1 0 0", "1 1 0"}, 2));
    auto replaced = [&](const std::string& from, const std::string& to) {
        std::string text = sound;
        const size_t at = text.find(from);
        EXPECT_NE(at, std::string::npos) << from;
        return at == std::string::npos ? text : text.replace(at, from.size(), to);
    };
    struct Case {
        const char* what;
        std::string text;
        const char* warning;
    };
    const Case cases[] = {
        {"sound", sound, nullptr},
        {"capacity", replaced("*MESH_NUMVERTEX 4", "*MESH_NUMVERTEX 90001"), "is left out"},
        {"negative count", replaced("*MESH_NUMFACES 2", "*MESH_NUMFACES -2"),
         "negative vertex or face count"},
        {"short vertex list", replaced("*MESH_NUMVERTEX 4", "*MESH_NUMVERTEX 6"), "vertex list holds 4 of 6"},
        {"short face list", replaced("*MESH_NUMFACES 2", "*MESH_NUMFACES 3"), "face list holds 2 of 3"},
        {"corner out of range", replaced("A:    0 B:    1", "A:    0 B:    9"),
         "1 face corner(s) name no vertex"},
        {"short texture list", replaced("*MESH_NUMTVERTEX 3", "*MESH_NUMTVERTEX 5"),
         "texture vertex list holds 3 of 5"},
        {"texture index", replaced("*MESH_TFACE 1\t0\t1\t2", "*MESH_TFACE 1\t0\t1\t7"),
         "1 texture corner(s)"},
        {"material reference", replaced("*MATERIAL_REF 0", "*MATERIAL_REF 4"),
         "MATERIAL_REF 4 names none of the 1"},
        {"short material list", replaced("*MATERIAL_COUNT 1", "*MATERIAL_COUNT 2"),
         "material list holds 1 of the 2"},
        {"second mesh",
         replaced("}\n*MATERIAL_REF", "}\n*MESH {\n*MESH_NUMVERTEX 0\n*MESH_NUMFACES 0\n}\n*MATERIAL_REF"),
         "second mesh replaces the first"},
        {"cut short", sound.substr(0, sound.find("*MESH_FACE_LIST")), "ends inside 2 open block(s)"},
        {"zero byte", sound + std::string(1, '\0') + "*GEOMOBJECT {", "zero byte at offset"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto scene = loadText(c.text);
        if (!c.warning) {
            EXPECT_TRUE(scene->warnings.empty()) << scene->warnings.front();
            continue;
        }
        std::string all;
        for (const std::string& warning : scene->warnings)
            all += warning + "\n";
        EXPECT_NE(all.find(c.warning), std::string::npos) << all;
    }
}

// A file's warnings reach standard error once in the process, however
// often it is loaded.
TEST(RealExports, WarningsAreWrittenOncePerFile)
{
    ScratchDir dir;
    writeFile("damaged.ASE", Header + squareObject("Box", 0, face(0, 0, 1, 9), 1, "*MATERIAL_REF 3\n"));
    testing::internal::CaptureStderr();
    const std::unique_ptr<Scene> first = loadSceneFile("damaged.ASE");
    const std::unique_ptr<Scene> second = loadSceneFile("damaged.ASE");
    const std::string written = testing::internal::GetCapturedStderr();
    ASSERT_EQ(first->warnings.size(), 2u);
    EXPECT_EQ(second->warnings, first->warnings);
    EXPECT_EQ(written, "kestrava: damaged.ASE: " + first->warnings[0] +
                           "\nkestrava: damaged.ASE: " + first->warnings[1] + "\n");
}

// The reader converts numbers as it cuts them; every token must read as
// atof (and atoi) would read it, bit for bit, plain or not: the conversion
// against the C library's own (in the "C" locale), and the quick reads
// against the conversion.
TEST(NumberText, QuickReadsGiveTheCLibraryValues)
{
    std::setlocale(LC_ALL, "C");
    std::vector<std::string> tokens;
    std::istringstream table(
        "0 -0 0.0000 -0.0000 1.5 -2.25 12345678.5 1234567.1234567 0.12345678 .5 -.5 5. - . "
        "1e5 1e 1.5e-3 +7 +3e2 +-1 0x1p3 0x10 inf -nan 12: A: 1,5 1.5abc -7x 1.9 "
        "99999999999999999999 1e309 1e-400 1e-999 0.1 0.3 3000.0000 -3000.0000 { }");
    for (std::string token; table >> token;)
        tokens.push_back(token);
    std::mt19937 random(7);
    const std::string alphabet = "0123456789.-+eE:x";
    for (int i = 0; i < 20000; ++i) {
        std::string token;
        const int length = 1 + static_cast<int>(random() % 16);
        for (int k = 0; k < length; ++k)
            token += random() % 4 ? alphabet[random() % 12] : alphabet[random() % alphabet.size()];
        tokens.push_back(token);
    }
    auto sameBits = [](double a, double b) {
        return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
    };
    for (const std::string& token : tokens) {
        const std::string spaced = "\t " + token; // leading blanks are skipped
        ASSERT_TRUE(sameBits(localeFreeAtof(spaced.c_str()), std::atof(spaced.c_str())))
            << token << ": " << localeFreeAtof(spaced.c_str()) << " for " << std::atof(spaced.c_str());
        ASSERT_EQ(localeFreeAtoi(spaced.c_str()), std::atoi(spaced.c_str())) << token;
        for (const char* after : {"\t", "\n", " ", "\r\n", "*", "", "\r"}) {
            const AseText text("\t" + token + after + "}");
            AseTokens numbers(text), integers(text), cut(text);
            const double quick = numbers.nextNumber();
            const int quickInteger = integers.nextInteger();
            ASSERT_TRUE(cut.next());
            const double expected = localeFreeAtof(cut.begin(), cut.end());
            ASSERT_TRUE(sameBits(quick, expected)) << token << ": " << quick << " for " << expected;
            ASSERT_EQ(quickInteger, localeFreeAtoi(cut.begin(), cut.end())) << token;
            // The same token is taken, and the same one follows it.
            ASSERT_EQ(numbers.current(), cut.current()) << token;
            ASSERT_EQ(integers.current(), cut.current()) << token;
            cut.next();
            numbers.next();
            integers.next();
            ASSERT_EQ(numbers.current(), cut.current()) << token;
            ASSERT_EQ(integers.current(), cut.current()) << token;
            ASSERT_EQ(numbers.depth(), cut.depth()) << token;
        }
    }
}

// The quick reads (numbers converted as they are cut, list items read in
// runs) against the tokens one at a time with the C library's rules: the
// test models, models of the game's data, and a thousand damaged copies
// (bytes changed to delimiters, braces and signs, numbers to odd forms,
// lines doubled and dropped, CR LF ends, files cut short). Where the
// processor reads list items 64 bytes at a time, both ways of quick reads
// are held to the tokens.
TEST(RealExports, QuickReadsGiveTheSameScenesAsTokensOneByOne)
{
    std::vector<std::string> sources;
    auto add = [&](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!bytes.empty())
            sources.push_back(bytes.substr(0, 60000));
    };
    for (const char* name :
         {"animated_wreck.ase", "crlf_spaces_light.ase", "many_small_objects.ase", "textured_box.ase"})
        add(std::string(KESTRAVA_TEST_DIR) + "/fixtures/ase/" + name);
    for (const char* name : {"bullet.ASE", "Rocket.ASE", "NumberOne.ASE", "map1.ASE"})
        add(std::string(KESTRAVA_DATA_DIR) + "/" + name);
    ASSERT_GE(sources.size(), 4u);

    std::mt19937 random(2026);
    std::string special = "\",\t\n)(* {}\r\v-+.eE:0123456789Mx";
    special += '\0';
    // Bytes from 0x80 up whose low halves are a digit's and a delimiter's.
    special += "\xb0\xa9";
    const char* odd[] = {"1e309",       "-2147483648",
                         "0x1p3",       "+-5",
                         "nan",         ".5",
                         "5.",          "1e",
                         "-.e3",        "99999999999",
                         "1e-400",      "-0",
                         "+7",          "12345678.25",
                         "0.123456789", "\r\r\n",
                         "1,5",         "\0",
                         "}",           "12345678",
                         "1.2.3",       "--5",
                         "-",           "5.-3",
                         "-.",          "1234567.1234567",
                         "-.5000",      "12345.6789",
                         "1234.5678",   "1.23456"};
    std::vector<std::string> texts;
    for (const std::string& source : sources) {
        texts.push_back(source);
        std::string crlf;
        for (char c : source)
            crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        texts.push_back(crlf);
        for (int k = 0; k < 125; ++k) {
            std::string text = source;
            const int kind = static_cast<int>(random() % 5);
            for (int edit = 1 + static_cast<int>(random() % 8); edit > 0 && !text.empty(); --edit) {
                const size_t at = random() % text.size();
                const size_t span = std::min<size_t>(text.size() - at, 1 + random() % 300);
                if (kind == 0)
                    text[at] = special[random() % special.size()];
                else if (kind == 1)
                    text.insert(at, std::string(odd[random() % std::size(odd)]));
                else if (kind == 2)
                    text.insert(at, text.substr(at, span));
                else if (kind == 3)
                    text.erase(at, span);
                else
                    text.insert(at, random() % 2 ? " " : "\t\t");
            }
            if (random() % 4 == 0)
                text.resize(random() % (text.size() + 1));
            texts.push_back(text);
        }
    }
    // A point in a line's index five bytes before the stop of a short
    // first number, as the exporters' form has it: not that form.
    texts.push_back(
        "*GEOMOBJECT {\n*MESH {\n*MESH_NUMVERTEX 2\n*MESH_NUMFACES 0\n*MESH_VERTEX_LIST {\n"
        "*MESH_VERTEX 1.00\t5\t1.0000\t-1.0000\n*MESH_VERTEX 1\t2.0000\t3.0000\t4.0000\n}\n}\n}\n");
#if KESTRAVA_WIDE_READS
    const bool wide = AseTokens::wideReads;
    std::vector<bool> ways = {false};
    if (wide)
        ways.push_back(true);
#else
    std::vector<bool> ways = {false};
#endif
    for (bool way : ways) {
#if KESTRAVA_WIDE_READS
        AseTokens::wideReads = way;
#endif
        for (size_t i = 0; i < texts.size(); ++i) {
            const AseText text(texts[i]);
            Scene quick;
            Scene slow;
            const int quickOpen = readAse(text, quick, true);
            const int slowOpen = readAse(text, slow, false);
            ASSERT_EQ(quickOpen, slowOpen) << "text " << i << (way ? ", wide" : "");
            ASSERT_EQ(difference(quick, slow), "") << "text " << i << (way ? ", wide" : "");
        }
    }
#if KESTRAVA_WIDE_READS
    AseTokens::wideReads = wide;
#endif
}
