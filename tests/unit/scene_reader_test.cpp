#include "headless/headless_platform.h"
#include "scene/number_text.h"
#include "scene_test_support.h"
#include "world/scene_files.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstring>
#include <sys/stat.h>

using namespace scenetest;

namespace {

const char* MaterialList = R"(*3DSMAX_ASCIIEXPORT	200
*MATERIAL_LIST {
	*MATERIAL_COUNT 4
	*MATERIAL 0 {
		*MATERIAL_NAME "Rock Face"
		*MATERIAL_CLASS "Standard"
		*MATERIAL_AMBIENT 0.1000	0.2000	0.3000
		*MATERIAL_DIFFUSE 0.4000	0.5000	0.6000
		*MATERIAL_SPECULAR 0.9000	0.9000	0.9000
		*MATERIAL_SHINE 0.2500
		*MATERIAL_SHINESTRENGTH 0.0500
		*MATERIAL_TRANSPARENCY 0.0000
		*MAP_DIFFUSE {
			*MAP_NAME "Map #1"
			*BITMAP "C:\art\sky clouds.bmp"
		}
	}
	*MATERIAL 1 {
		*MATERIAL_NAME "Glass"
		*MATERIAL_AMBIENT 0.0 0.0 0.0
		*MATERIAL_DIFFUSE 0.0 0.0 1.0
		*MATERIAL_SPECULAR 0.0 0.0 0.0
		*MATERIAL_SHINE 0.1
		*MATERIAL_TRANSPARENCY 0.25
		*MAP_AMBIENT {
			*BITMAP "ambient.bmp"
		}
		*MAP_DIFFUSE {
			*BITMAP "diffuse.bmp"
		}
	}
	*MATERIAL 2 { *MATERIAL_NAME "A" *MAP_DIFFUSE { *BITMAP "tex,tures\a.bmp" } }
	*MATERIAL 3 { *MATERIAL_NAME "B" *MAP_DIFFUSE { *BITMAP "art (old)\b.bmp" } }
}
)";

std::string twoSquares()
{
    return std::string(MaterialList) +
           squareObject("Heli Rotor", 0, face(0, 0, 1, 2) + face(1, 0, 2, 3), 2, "\t*MATERIAL_REF 0\n") +
           squareObject("Tail", 10, face(0, 0, 1, 2), 1, "\t*MATERIAL_REF 1\n");
}

} // namespace

TEST(SceneReader, TokenizerCutsNamesAtSpacesButKeepsThemInBitmapPaths)
{
    ScratchDir dir;
    auto scene = loadText(twoSquares());
    ASSERT_EQ(scene->nodes.size(), 2u);
    EXPECT_EQ(scene->nodes[0].name, "Heli");
    const Material& rock = scene->nodes[0].material;
    EXPECT_EQ(rock.name, "Rock");
    // Bitmap paths keep their spaces but end at a comma or a parenthesis.
    EXPECT_EQ(rock.bitmap, "C:\\art\\sky clouds.bmp");
    ASSERT_EQ(scene->materials.size(), 4u);
    EXPECT_EQ(scene->materials[2].bitmap, "tex");
    EXPECT_EQ(scene->materials[3].bitmap, "art ");
    EXPECT_FLOAT_EQ(rock.ambient.g, 0.2f);
    EXPECT_FLOAT_EQ(rock.diffuse.b, 0.6f);
    EXPECT_FLOAT_EQ(rock.specular.r, 0.9f);
    EXPECT_FLOAT_EQ(rock.shine, 0.25f); // not MATERIAL_SHINESTRENGTH
    EXPECT_EQ(rock.ambient.a, 0.0f);
    EXPECT_EQ(rock.textureId, 0u); // no such file: untextured in effect

    // The closing brace of the ambient map ends the search for a diffuse map.
    const Material& glass = scene->nodes[1].material;
    EXPECT_EQ(glass.name, "Glass");
    EXPECT_TRUE(glass.bitmap.empty());
    EXPECT_FLOAT_EQ(glass.transparency, 0.25f);
    EXPECT_EQ(scene->name, "testname");
}

TEST(SceneReader, NodesShareTheArraysWithRunningBases)
{
    ScratchDir dir;
    auto scene = loadText(twoSquares());
    EXPECT_EQ(scene->nodeCount, 2u);
    EXPECT_EQ(scene->totalVertices, 8);
    EXPECT_EQ(scene->totalFaces, 3);
    ASSERT_EQ(scene->vertices.size(), 8u);
    ASSERT_EQ(scene->faces.size(), 3u);
    // The second node's vertex 0 is Scene vertex 4; its face keeps the
    // file's corner numbers.
    EXPECT_FLOAT_EQ(scene->vertices[4].x, 10.0f);
    EXPECT_FLOAT_EQ(scene->vertices[6].y, 1.0f);
    EXPECT_EQ(scene->vertices[7].w, 1.0f);
    EXPECT_TRUE(scene->faces[2].a == 0 && scene->faces[2].b == 1 && scene->faces[2].c == 2);
    EXPECT_EQ(scene->faces[1].c, 3);
    const SceneNode& tail = scene->nodes[1];
    EXPECT_FLOAT_EQ(tail.nodeMatrix.m[12], 10.0f);
    EXPECT_EQ(tail.nodeMatrix.m[3], 0.0f);
    EXPECT_EQ(tail.nodeMatrix.m[15], 1.0f);
    EXPECT_FLOAT_EQ(tail.position.x, 10.0f);
    EXPECT_EQ(tail.position.w, 1.0f);
    // The arrays are reserved for the text's size and keep no spare room
    // once read; a count beyond what the text could list still gets all
    // its entries.
    EXPECT_EQ(scene->vertices.capacity(), scene->vertices.size());
    EXPECT_EQ(scene->faces.capacity(), scene->faces.size());
    std::string sparse = squareObject("Sparse", 0, face(0, 0, 1, 2), 1, "*WIREFRAME_COLOR 1 1 1\n");
    sparse.replace(sparse.find("*MESH_NUMVERTEX 4"), 17, "*MESH_NUMVERTEX 5000");
    auto far = loadText(twoSquares() + sparse);
    ASSERT_EQ(far->vertices.size(), 5008u);
    EXPECT_EQ(far->vertices.capacity(), far->vertices.size());
    EXPECT_FLOAT_EQ(far->vertices[4].x, 10.0f);
    EXPECT_EQ(far->vertices[5007].x, 0.0f);
    EXPECT_EQ(far->vertices[5007].w, 1.0f);
}

TEST(SceneReader, WireframeColourNoMaterialAndFindNode)
{
    ScratchDir dir;
    std::string text = squareObject("Bar", 0, face(0, 0, 1, 2), 1, "\t*WIREFRAME_COLOR 0.5 0.25 1.0\n") +
                       squareObject("Plain", 0, face(0, 0, 1, 2), 1, "") +
                       squareObject("Bar", 5, face(0, 0, 1, 2), 1, "");
    auto scene = loadText(text);
    ASSERT_EQ(scene->nodes.size(), 3u);
    const Material& wire = scene->nodes[0].material;
    EXPECT_FLOAT_EQ(wire.diffuse.r, 0.5f);
    EXPECT_FLOAT_EQ(wire.diffuse.g, 0.25f);
    EXPECT_FLOAT_EQ(wire.diffuse.b, 1.0f);
    EXPECT_EQ(wire.ambient.r, 0.0f);
    EXPECT_TRUE(wire.bitmap.empty());

    const Material& plain = scene->nodes[1].material;
    EXPECT_EQ(plain.diffuse.r + plain.diffuse.g + plain.diffuse.b + plain.transparency, 0.0f);
    EXPECT_EQ(scene->nodes[1].name, "Plain");

    EXPECT_EQ(scene->findNode("Bar"), &scene->nodes[0]);
    EXPECT_EQ(scene->findNode("bar"), nullptr);
    EXPECT_EQ(scene->findNode("Missing"), nullptr);
}

TEST(SceneReader, ParentsLinkByFirstNameAndUnknownParentsStayUnlinked)
{
    ScratchDir dir;
    std::string text = squareObject("Body", 0, face(0, 0, 1, 2), 1, "*WIREFRAME_COLOR 1 1 1\n") +
                       squareObject("Rotor", 0, face(0, 0, 1, 2), 1, "*WIREFRAME_COLOR 1 1 1\n", "") +
                       squareObject("Orphan", 0, face(0, 0, 1, 2), 1, "*WIREFRAME_COLOR 1 1 1\n");
    // Parents go after NODE_NAME, as exporters write them.
    text.replace(text.find("\"Rotor\"\n") + 8, 0, "\t*NODE_PARENT \"Body\"\n");
    text.replace(text.find("\"Orphan\"\n") + 9, 0, "\t*NODE_PARENT \"Nobody\"\n");
    auto scene = loadText(text);
    ASSERT_EQ(scene->nodes.size(), 3u);
    EXPECT_EQ(scene->nodes[1].parentIndex, 0);
    EXPECT_TRUE(scene->nodes[1].hasParent);
    EXPECT_EQ(scene->nodes[0].children, std::vector<int32_t>{1});
    EXPECT_EQ(scene->nodes[2].parentIndex, -1);
    EXPECT_TRUE(scene->nodes[2].hasParent);
    EXPECT_EQ(scene->nodes[2].parentName, "Nobody");
    EXPECT_FALSE(scene->nodes[0].hasParent);
}

// A missing file shows one message each and leaves an empty Scene; a
// read-only one loads without a word.
TEST(SceneReader, MissingFilesAreToldAndReadOnlyFilesLoad)
{
    headless::reset();
    ScratchDir dir;
    std::string longName(300, 'x');
    const std::unique_ptr<Scene> missing = loadSceneFile("main.ASE");
    const std::unique_ptr<Scene> missingLong = loadSceneFile(longName);
    writeFile("ro.ASE", twoSquares());
    chmod("ro.ASE", 0444);
    EXPECT_EQ(loadSceneFile("ro.ASE")->nodes.size(), 2u);
    const auto& boxes = headless::messageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, "File main.ASE Not Found");
    EXPECT_EQ(boxes[0].caption, "ZaraZadu Error");
    EXPECT_EQ(boxes[1].text, "File " + longName + " Not Found");
    EXPECT_TRUE(missing->nodes.empty());
    EXPECT_EQ(missing->nodeCount, 0u);
    EXPECT_EQ(missing->findNode("Bar"), nullptr);
}

TEST(SceneReader, CrLfTabsAndLabelsWithoutEdgeFlags)
{
    ScratchDir dir;
    std::string text =
        "\xEF\xBB\xBF*3DSMAX_ASCIIEXPORT 200\r\n" +
        squareObject("Crate", 0,
                     "*MESH_FACE 0 A: 0 B: 1 C: 2\r\n*MESH_FACE 1: A: 0 B: 2 C: 3 *MESH_MTLID 1\r\n", 2,
                     "*WIREFRAME_COLOR 0.5\t0.5\t0.5\r\n");
    std::string crlf;
    for (char c : text) {
        if (c == '\n' && (crlf.empty() || crlf.back() != '\r'))
            crlf += '\r';
        crlf += c;
    }
    auto scene = loadText(crlf);
    ASSERT_EQ(scene->nodes.size(), 1u);
    EXPECT_EQ(scene->nodes[0].name, "Crate");
    EXPECT_EQ(scene->faces[1].c, 3);
    EXPECT_FLOAT_EQ(scene->nodes[0].material.diffuse.b, 0.5f);
}

// A complete file cut after every token: never a crash, every whole node
// read so far kept, and the arrays always as large as the counts say.
TEST(SceneReader, TextCutAtEveryTokenBoundaryKeepsWholeNodes)
{
    ScratchDir dir;
    const std::string full = twoSquares();
    auto complete = loadText(full);
    ASSERT_EQ(complete->nodes.size(), 2u);
    size_t cuts = 0;
    for (size_t end = 1; end <= full.size(); ++end) {
        const bool tokenEnds = end == full.size() || std::strchr(" \t\n\"*(),", full[end]) != nullptr;
        if (!tokenEnds || std::strchr(" \t\n\"*(),", full[end - 1]))
            continue;
        ++cuts;
        auto scene = loadText(full.substr(0, end));
        ASSERT_EQ(scene->nodes.size(), scene->nodeCount);
        if (end <= std::strlen(MaterialList)) {
            ASSERT_EQ(scene->nodeCount, 0u) << "a material list alone gives no nodes";
        }
        ASSERT_EQ(scene->vertices.size(), static_cast<size_t>(scene->totalVertices));
        ASSERT_EQ(scene->faces.size(), static_cast<size_t>(scene->totalFaces));
        int vertexBase = 0, faceBase = 0;
        for (size_t i = 0; i < scene->nodes.size(); ++i) {
            const SceneNode& node = scene->nodes[i];
            for (int f = faceBase; f < faceBase + node.faceCount; ++f)
                for (int corner : {scene->faces[f].a, scene->faces[f].b, scene->faces[f].c})
                    ASSERT_TRUE(corner >= 0 && corner < node.vertexCount) << "cut at " << end;
            vertexBase += node.vertexCount;
            faceBase += node.faceCount;
            if (i + 1 < scene->nodes.size()) {
                const SceneNode& whole = complete->nodes[i];
                ASSERT_EQ(node.name, whole.name) << "cut at " << end;
                ASSERT_EQ(node.faceCount, whole.faceCount);
                ASSERT_EQ(node.material.name, whole.material.name);
            }
        }
        ASSERT_EQ(vertexBase, scene->totalVertices);
        ASSERT_EQ(faceBase, scene->totalFaces);
    }
    EXPECT_GT(cuts, 200u);
}

TEST(SceneReader, CountsBeyondCapacityOrListsDropTheMeshSafely)
{
    ScratchDir dir;
    std::string huge = squareObject("Huge", 0, face(0, 0, 1, 2), 1, "*WIREFRAME_COLOR 1 0 0\n");
    huge.replace(huge.find("*MESH_NUMVERTEX 4"), 17, "*MESH_NUMVERTEX 90001");
    // Header says 6 vertices and 3 faces; the lists hold 4 and 1.
    std::string short_ = squareObject("Short", 0, face(0, 0, 1, 2), 3, "*WIREFRAME_COLOR 0 1 0\n");
    short_.replace(short_.find("*MESH_NUMVERTEX 4"), 17, "*MESH_NUMVERTEX 6");
    // A count of 0 takes nothing of the next object.
    std::string empty = squareObject("Empty", 0, face(0, 0, 1, 2), 0, "*WIREFRAME_COLOR 0 0 1\n");
    empty.replace(empty.find("*MESH_NUMVERTEX 4"), 17, "*MESH_NUMVERTEX 0");
    std::string last = squareObject("Last", 7, face(0, 0, 1, 2), 1, "*WIREFRAME_COLOR 1 1 1\n");
    auto scene = loadText(huge + short_ + empty + last);
    ASSERT_EQ(scene->nodes.size(), 4u);
    EXPECT_EQ(scene->nodes[0].vertexCount, 0);
    EXPECT_EQ(scene->nodes[0].faceCount, 0);
    EXPECT_FLOAT_EQ(scene->nodes[0].material.diffuse.r, 1.0f);
    EXPECT_EQ(scene->nodes[1].vertexCount, 6);
    EXPECT_EQ(scene->nodes[1].faceCount, 3);
    EXPECT_FLOAT_EQ(scene->nodes[1].material.diffuse.g, 1.0f); // not lost to the runaway list
    EXPECT_EQ(scene->nodes[2].vertexCount, 0);
    EXPECT_EQ(scene->nodes[3].vertexCount, 4);
    EXPECT_EQ(scene->totalVertices, 10);
    EXPECT_EQ(scene->totalFaces, 4);
    // Last's vertex 0 is at its own base, 6, not taken by Empty.
    EXPECT_FLOAT_EQ(scene->vertices[6].x, 7.0f);
    EXPECT_EQ(scene->vertices[4].x, 0.0f);
    EXPECT_EQ(scene->vertices[5].w, 1.0f);
}

TEST(SceneReader, BadIndicesStayInsideTheLists)
{
    ScratchDir dir;
    std::string tex = "\t\t*MESH_NUMTVERTEX 2\n\t\t*MESH_TVERTLIST {\n"
                      "\t\t\t*MESH_TVERT 0\t0.25\t0.5\t0.0\n\t\t\t*MESH_TVERT 1\t1.0\t0.75\t0.0\n\t\t}\n"
                      "\t\t*MESH_NUMTVFACES 1\n\t\t*MESH_TFACELIST {\n\t\t\t*MESH_TFACE 0\t1\t7\t-3\n\t\t}\n";
    std::string text =
        squareObject("Wild", 0, face(0, 0, 9, -1) + face(1, 1, 2, 3), 2, "*MATERIAL_REF 5\n", tex);
    auto scene = loadText(text);
    ASSERT_EQ(scene->nodes.size(), 1u);
    const MeshFace& wild = scene->faces[0];
    EXPECT_EQ(wild.b, 0);
    EXPECT_EQ(wild.c, 0);
    EXPECT_FLOAT_EQ(wild.texA.u, 1.0f);
    EXPECT_FLOAT_EQ(wild.texA.v, 0.75f);
    EXPECT_EQ(wild.texB.u, 0.0f);
    EXPECT_EQ(wild.texC.v, 0.0f);
    // Fewer texture faces than faces: the rest keep 0.
    EXPECT_EQ(scene->faces[1].texA.u, 0.0f);
    EXPECT_EQ(scene->faces[1].c, 3);
    // A MATERIAL_REF outside the list: the untextured default.
    EXPECT_TRUE(scene->nodes[0].material.name.empty());
    EXPECT_TRUE(scene->nodes[0].material.bitmap.empty());
}

// Compiles a German locale into a scratch directory (the machine need not
// have one installed) and reads with it in force.
TEST(NumberText, DecimalCommaLocaleReadsTheSameNumbers)
{
    ScratchDir dir;
    if (!scenetest::useDecimalCommaLocale(dir.path()))
        GTEST_SKIP() << "localedef could not build de_DE";
    ASSERT_EQ(std::atof("1.5"), 1.0); // the fault this guards against
    EXPECT_EQ(localeFreeAtof("1.5"), 1.5);
    auto scene = loadText(squareObject("L", 0, face(0, 0, 1, 2), 1, "*WIREFRAME_COLOR 0.5 0.25 1.0\n"));
    std::setlocale(LC_ALL, "C");
    ASSERT_EQ(scene->nodes.size(), 1u);
    EXPECT_FLOAT_EQ(scene->nodes[0].material.diffuse.g, 0.25f);
}
