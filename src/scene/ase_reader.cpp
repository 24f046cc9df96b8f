// The ASE reader. One forward pass over the tokens of the whole text; each
// keyword the game knows pulls the tokens after it, in the order the
// exporter writes them, and everything else is passed over.
//
// Files come from modelling tools of every era, so every count, index and
// list is checked: a list stops at the brace that closes it, a node's mesh
// never leaves its share of the arrays, and a text that ends anywhere ends
// the load with what was read. Whatever the reader drops, cuts or replaces
// on the way is told in the Scene's warnings.

#include "scene/ase_reader.h"

#include "scene/ase_text.h"
#include "scene/ase_tokens.h"
#include "scene/number_text.h"
#include "scene/scene.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

// What went wrong in one object, told once per object when it ends.
struct NodeTrouble {
    bool capacity = false;
    bool negativeCount = false;
    bool secondMesh = false;
    int badCorners = 0;
    int badTextureCorners = 0;
    int verticesListed = -1;
    int facesListed = -1;
    int textureVerticesDeclared = 0;
    int textureVerticesListed = -1;
    int textureFacesListed = -1;
    int faceNormalsListed = -1;
    int cutKeys = 0;
    bool badMaterial = false;
    int badMaterialRef = 0;
};

// True for a token that can only be a number: the extra numbers of a key
// sample, as against the next sample's keyword or the track's brace.
bool looksNumeric(std::string_view token)
{
    if (token.empty())
        return false;
    const char c = token[0];
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

class AseReader {
  public:
    AseReader(Scene& scene, const AseText& text, bool quick)
        : scene_(scene), text_(text), tokens_(text, quick)
    {
    }

    void read()
    {
        // The mesh arrays are reserved once for as many entries as a text
        // of this size could list (one a 32 bytes, within the limits), and
        // trimmed to what was read at the end. Grown node by node instead,
        // each step took fresh pages from the system and copied the array
        // over: on a model of several objects that cost more than reading
        // them (main.ASE, nine objects: 1.6 ms against 0.95 ms). Pages of
        // the reserve that no entry reaches are never touched.
        const size_t bound = text_.size() / 32 + 1;
        scene_.vertices.reserve(std::min<size_t>(bound, MaxSceneVertices));
        scene_.faces.reserve(std::min<size_t>(bound, MaxSceneFaces));
        tokens_.next();
        while (!tokens_.ended()) {
            if (tokens_.is("MATERIAL_LIST"))
                readMaterialList();
            if (tokens_.ended())
                break;
            if (tokens_.is("GEOMOBJECT")) {
                // The node leaves the token that ended it current.
                readNode();
                continue;
            }
            tokens_.next();
        }
        linkParents();
        scene_.vertices.shrink_to_fit();
        scene_.faces.shrink_to_fit();
        scene_.materials = std::move(materials_);
        if (tokens_.depth() > 0)
            scene_.warnings.push_back("the text ends inside " + std::to_string(tokens_.depth()) +
                                      " open block(s), as if cut short");
        const size_t textLength = static_cast<size_t>(tokens_.position() - text_.data());
        if (textLength < text_.size())
            scene_.warnings.push_back("a zero byte at offset " + std::to_string(textLength) +
                                      " ends the text; the " + std::to_string(text_.size() - textLength) +
                                      " bytes from there on are not read");
    }

    int unclosedBlocks() const { return tokens_.depth(); }

  private:
    float number() { return static_cast<float>(tokens_.nextNumber()); }

    int integer() { return tokens_.nextInteger(); }

    void skip(int count)
    {
        for (int i = 0; i < count && !tokens_.ended(); ++i)
            tokens_.next();
    }

    void readVec3(Vec3& v)
    {
        v.x = number();
        v.y = number();
        v.z = number();
    }

    // A number (passed over), then three for the vector.
    void readNumberedVec3(Vec3& v)
    {
        double values[3];
        if (tokens_.nextPlainItem<1>(values)) {
            v = {static_cast<float>(values[0]), static_cast<float>(values[1]), static_cast<float>(values[2])};
        } else {
            skip(1);
            readVec3(v);
        }
    }

    void readColour(Colour4& c)
    {
        c.r = number();
        c.g = number();
        c.b = number();
    }

    // Passes over tokens until one of the keywords is current (the current
    // token counts). Stops without success at the end of the text or at a
    // closing brace that takes the depth below `floor`.
    template <typename... Keywords> bool skipTo(int floor, const Keywords&... keywords)
    {
        while (!tokens_.ended()) {
            if ((tokens_.is(keywords) || ...))
                return true;
            if (tokens_.is("}") && tokens_.depth() < floor)
                return false;
            tokens_.next();
        }
        return false;
    }

    // The keywords that end an object. In a file whose braces do not
    // balance they also end every block of the object still open, and are
    // left current for the object to end.
    bool endsObject() const
    {
        return tokens_.is("GEOMOBJECT") || tokens_.is("MATERIAL_REF") || tokens_.is("WIREFRAME_COLOR");
    }

    // With "{" current: passes over the block, nested blocks and all, and
    // leaves its closing brace (or a keyword that ends the object) current.
    void skipBlock()
    {
        const int floor = tokens_.depth();
        while (tokens_.next() && tokens_.depth() >= floor && !endsObject()) {
        }
    }

    // The list's entries are the MATERIAL blocks directly inside it, as
    // many as MATERIAL_COUNT says; a material's SUBMATERIAL blocks are
    // parts of it, not entries of the list.
    void readMaterialList()
    {
        const int floor = tokens_.depth() + 1;
        if (!skipTo(floor, "MATERIAL_COUNT"))
            return;
        const float count = number();
        int read = 0;
        for (float k = 0; k < count; k += 1) {
            if (!nextMaterialEntry(floor))
                break;
            Material m;
            if (!readMaterial(m))
                break;
            materials_.push_back(std::move(m));
            ++read;
        }
        if (read < count) {
            char declared[32];
            std::snprintf(declared, sizeof declared, "%.0f", static_cast<double>(count));
            scene_.warnings.push_back("the material list holds " + std::to_string(read) + " of the " +
                                      declared + " materials its MATERIAL_COUNT gives");
        }
    }

    // Moves to the "{" of the next MATERIAL directly inside the list.
    bool nextMaterialEntry(int floor)
    {
        while (tokens_.next() && !tokens_.is("GEOMOBJECT")) {
            if (tokens_.is("}") && tokens_.depth() < floor)
                return false;
            if (tokens_.is("MATERIAL") && tokens_.depth() == floor) {
                if (!tokens_.next() || !tokens_.next())
                    return false;
                return tokens_.is("{");
            }
            if (tokens_.is("{") && tokens_.depth() > floor) {
                skipBlock();
                if (tokens_.is("GEOMOBJECT"))
                    return false;
            }
        }
        return false;
    }

    // The material's own fields, from its "{" to its "}"; those of its
    // maps and sub-materials are not its own. A material without one of
    // them keeps 0 there. Of the maps only MAP_DIFFUSE gives the bitmap,
    // and only before the first block inside the material has closed (so
    // an ambient map written before it leaves the material untextured).
    // False when the text ends first.
    bool readMaterial(Material& m)
    {
        const int own = tokens_.depth();
        bool blockClosed = false;
        while (tokens_.next() && !tokens_.is("GEOMOBJECT")) {
            if (tokens_.is("}")) {
                if (tokens_.depth() < own)
                    return true;
                blockClosed = true;
                continue;
            }
            if (tokens_.depth() != own) {
                if (tokens_.is("{")) {
                    skipBlock();
                    blockClosed = true;
                    if (tokens_.is("GEOMOBJECT"))
                        return false;
                }
                continue;
            }
            if (tokens_.is("MATERIAL_NAME")) {
                if (tokens_.next())
                    m.name = tokens_.current();
            } else if (tokens_.is("MATERIAL_AMBIENT")) {
                readColour(m.ambient);
            } else if (tokens_.is("MATERIAL_DIFFUSE")) {
                readColour(m.diffuse);
            } else if (tokens_.is("MATERIAL_SPECULAR")) {
                readColour(m.specular);
            } else if (tokens_.is("MATERIAL_SHINE")) {
                m.shine = number();
            } else if (tokens_.is("MATERIAL_TRANSPARENCY")) {
                m.transparency = number();
            } else if (tokens_.is("MAP_DIFFUSE") && !blockClosed) {
                readDiffuseMap(m);
                blockClosed = true;
                if (tokens_.is("GEOMOBJECT"))
                    return false;
            }
            if (tokens_.depth() < own)
                return !tokens_.ended();
        }
        return false;
    }

    // MAP_DIFFUSE { … BITMAP "path" … }: leaves the map's "}" current.
    void readDiffuseMap(Material& m)
    {
        if (!tokens_.next() || !tokens_.is("{"))
            return;
        const int own = tokens_.depth();
        while (tokens_.next() && tokens_.depth() >= own && !tokens_.is("GEOMOBJECT")) {
            if (tokens_.is("BITMAP") && tokens_.depth() == own && m.bitmap.empty()) {
                if (!tokens_.nextBitmapPath())
                    return;
                m.bitmap = tokens_.current();
            } else if (tokens_.is("{")) {
                skipBlock();
                if (tokens_.is("GEOMOBJECT"))
                    return;
            }
        }
    }

    void readNode()
    {
        scene_.nodeCount += 1;
        SceneNode node;
        NodeTrouble trouble;
        vertexBase_ = scene_.totalVertices;
        faceBase_ = scene_.totalFaces;
        bool meshRead = false;

        // An object whose block is braced ends with its closing brace at the
        // latest, so an object without MATERIAL_REF or WIREFRAME_COLOR never
        // takes the names and meshes of the cameras and lights after it.
        const int floor = tokens_.depth();
        tokens_.next();
        const bool braced = tokens_.is("{");

        while (!tokens_.ended()) {
            if (braced && tokens_.depth() <= floor)
                break;
            if (tokens_.is("GEOMOBJECT"))
                break;
            // Every keyword below begins with one of these letters; any
            // other token (numbers, braces, the keywords the game does not
            // use) is passed over without trying each.
            const char first = *tokens_.begin();
            if (first != 'N' && first != 'T' && first != 'M' && first != 'W') {
                tokens_.next();
                continue;
            }
            if (tokens_.is("NODE_NAME") && tokens_.next())
                node.name = tokens_.current();
            if (tokens_.is("NODE_PARENT") && tokens_.next())
                node.parentName = tokens_.current();
            if (tokens_.is("TM_ROW0"))
                readNodeMatrix(node.nodeMatrix);
            if (tokens_.is("TM_POS")) {
                node.position.x = number();
                node.position.y = number();
                node.position.z = number();
            }
            if (tokens_.is("TM_ROTAXIS"))
                readVec3(node.rotationAxis);
            if (tokens_.is("TM_ROTANGLE"))
                node.rotationAngle = number();
            if (tokens_.is("MESH_NUMVERTEX")) {
                trouble.secondMesh = trouble.secondMesh || meshRead;
                meshRead = true;
                readVertices(node, trouble);
            }
            if (tokens_.is("MESH_FACE_LIST"))
                readFaces(node, trouble);
            // Extra texture channels (light maps and the like) carry lists
            // of their own: only the main channel is the node's.
            if (tokens_.is("MESH_MAPPINGCHANNEL"))
                skipMappingChannel();
            if (tokens_.is("MESH_NUMTVERTEX"))
                readTextureFaces(node, trouble);
            if (tokens_.is("MESH_NORMALS"))
                readNormals(node, trouble);
            if (tokens_.is("TM_ANIMATION"))
                readTracks(node, trouble);
            if (tokens_.is("MATERIAL_REF")) {
                int index = integer();
                // An index outside the list gets an untextured default.
                if (index >= 0 && static_cast<size_t>(index) < materials_.size()) {
                    node.material = materials_[index];
                    node.materialIndex = index;
                } else {
                    trouble.badMaterial = true;
                    trouble.badMaterialRef = index;
                }
                break;
            }
            if (tokens_.is("WIREFRAME_COLOR")) {
                readColour(node.material.diffuse);
                break;
            }
            if (tokens_.ended())
                break;
            // A part that ran into the next object leaves it current.
            if (!tokens_.is("GEOMOBJECT"))
                tokens_.next();
        }

        node.hasParent = !node.parentName.empty();
        tell(node, trouble);
        scene_.nodes.push_back(std::move(node));
    }

    void readNodeMatrix(Matrix4& m)
    {
        for (int column = 0; column < 4; ++column) {
            if (column > 0)
                skip(1); // TM_ROW1, TM_ROW2, TM_ROW3
            m.m[column * 4 + 0] = number();
            m.m[column * 4 + 1] = number();
            m.m[column * 4 + 2] = number();
            m.m[column * 4 + 3] = 0.0f;
        }
        m.m[15] = 1.0f;
    }

    // MESH_NUMVERTEX n MESH_NUMFACES f, then the vertex list. The node's
    // mesh is its last one: a second mesh in one object replaces the first.
    void readVertices(SceneNode& node, NodeTrouble& trouble)
    {
        const int floor = tokens_.depth() + 1;
        int n = integer();
        skip(1);
        int f = integer();
        if (n < 0 || f < 0)
            trouble.negativeCount = true;
        if (n < 0 || f < 0 || n == 0)
            f = 0;
        if (n < 0)
            n = 0;
        if (n > MaxSceneVertices - vertexBase_ || f > MaxSceneFaces - faceBase_) {
            trouble.capacity = true;
            n = f = 0;
        }
        node.vertexCount = n;
        node.faceCount = f;
        trouble.verticesListed = trouble.facesListed = -1;
        trouble.textureVerticesListed = trouble.textureFacesListed = trouble.faceNormalsListed = -1;
        scene_.totalVertices = vertexBase_ + n;
        scene_.totalFaces = faceBase_ + f;
        // Entries of this node that an earlier mesh of it wrote start over;
        // those the arrays grow by start fresh.
        const size_t oldVertices = std::min<size_t>(scene_.vertices.size(), scene_.totalVertices);
        const size_t oldFaces = std::min<size_t>(scene_.faces.size(), scene_.totalFaces);
        std::fill(scene_.vertices.begin() + vertexBase_, scene_.vertices.begin() + oldVertices, MeshVertex());
        std::fill(scene_.faces.begin() + faceBase_, scene_.faces.begin() + oldFaces, MeshFace());
        scene_.vertices.resize(scene_.totalVertices);
        scene_.faces.resize(scene_.totalFaces);

        if (n == 0)
            return;
        trouble.verticesListed = 0;
        if (!skipTo(floor, "MESH_VERTEX"))
            return;
        // The vertex number, then the position.
        using Position = double[3];
        readList<Position, 1, AseTokens::WideNumbers>(
            "MESH_VERTEX", n, trouble.verticesListed, AseTokens::plainTokens<1, 3, double>,
            [&](int i, const Position& xyz) {
                MeshVertex& v = scene_.vertices[vertexBase_ + i];
                v.x = static_cast<float>(xyz[0]);
                v.y = static_cast<float>(xyz[1]);
                v.z = static_cast<float>(xyz[2]);
            },
            [&](Position& xyz) {
                skip(1);
                for (double& value : xyz)
                    value = number();
            });
    }

    // A list of `count` items from its first item's keyword (the current
    // token): runs of plain items read at once where the tokens allow, else
    // one item read token by token by `one`. Each item goes to `store`, and
    // `listed` counts them.
    template <typename Values, int Skipped = 0, int Wide = AseTokens::NotWide, size_t N, typename Parse,
              typename Store, typename One>
    void readList(const char (&keyword)[N], int count, int& listed, Parse parse, Store store, One one)
    {
        const int listFloor = tokens_.depth();
        for (int i = 0;;) {
            const int run = tokens_.plainItems<N, N, Values, Skipped, Wide>(
                keyword, keyword, false, count - i, parse, [&](int k, size_t, const Values& values) {
                    store(i + k, values);
                    return true;
                });
            if (run > 0) {
                i += run;
            } else {
                Values values;
                one(values);
                store(i, values);
                ++i;
            }
            listed = i;
            if (!nextInList(listFloor, i, count, keyword))
                return;
        }
    }

    // Moves to the next item keyword of a list while fewer than `count`
    // items were read and the list's block is open.
    template <size_t N> bool nextInList(int listFloor, int read, int count, const char (&keyword)[N])
    {
        return read < count && tokens_.seek(keyword, listFloor);
    }

    void readFaces(SceneNode& node, NodeTrouble& trouble)
    {
        const int f = node.faceCount;
        if (f == 0)
            return;
        trouble.facesListed = 0;
        if (!skipTo(tokens_.depth() + 1, "MESH_FACE"))
            return;
        const int n = node.vertexCount;
        // A corner outside the node's vertices would draw and collide with
        // another node's (or no) vertex: it becomes the first.
        auto keep = [&](MeshFace& face, const int(&corners)[3]) {
            face.a = corners[0];
            face.b = corners[1];
            face.c = corners[2];
            for (int32_t* corner : {&face.a, &face.b, &face.c})
                if (*corner < 0 || *corner >= n) {
                    *corner = 0;
                    ++trouble.badCorners;
                }
        };
        using Corners = int[3];
        readList<Corners, 0, AseTokens::WideFaces>(
            "MESH_FACE", f, trouble.facesListed, AseTokens::faceTokens,
            [&](int i, const Corners& corners) { keep(scene_.faces[faceBase_ + i], corners); },
            [&](Corners& corners) {
                skip(2); // the label "0:" and "A:"
                corners[0] = integer();
                skip(1);
                corners[1] = integer();
                skip(1);
                corners[2] = integer();
            });
    }

    // MESH_MAPPINGCHANNEL number { … }: leaves the block's "}" current.
    void skipMappingChannel()
    {
        skip(2);
        if (tokens_.is("{"))
            skipBlock();
    }

    void readTextureFaces(SceneNode& node, NodeTrouble& trouble)
    {
        const int meshFloor = tokens_.depth();
        const int t = integer();
        if (t <= 0)
            return;
        textureVertices_.clear();
        trouble.textureVerticesDeclared = t;
        trouble.textureVerticesListed = 0;
        if (!skipTo(meshFloor + 1, "MESH_TVERT"))
            return;
        using Uvw = double[3];
        readList<Uvw, 1, AseTokens::WideNumbers>(
            "MESH_TVERT", t, trouble.textureVerticesListed, AseTokens::plainTokens<1, 3, double>,
            [&](int, const Uvw& values) {
                textureVertices_.push_back({static_cast<float>(values[0]), static_cast<float>(values[1]),
                                            static_cast<float>(values[2])});
            },
            [&](Uvw& values) {
                skip(1);
                for (double& value : values)
                    value = number();
            });

        const int f = node.faceCount;
        if (f == 0)
            return;
        trouble.textureFacesListed = 0;
        if (!skipTo(meshFloor, "MESH_TFACELIST") || !skipTo(tokens_.depth() + 1, "MESH_TFACE"))
            return;
        // Texture faces beyond the node's faces are passed over; faces
        // without one, and indices outside the texture vertices, keep 0.
        auto keep = [&](MeshFace& face, const int(&corners)[3]) {
            face.texA = textureVertex(corners[0], trouble);
            face.texB = textureVertex(corners[1], trouble);
            face.texC = textureVertex(corners[2], trouble);
        };
        using Corners = int[3];
        readList<Corners, 1, AseTokens::WideNumbers>(
            "MESH_TFACE", f, trouble.textureFacesListed, AseTokens::plainTokens<1, 3, int>,
            [&](int i, const Corners& corners) { keep(scene_.faces[faceBase_ + i], corners); },
            [&](Corners& corners) {
                skip(1);
                for (int& corner : corners)
                    corner = integer();
            });
    }

    TexCoord textureVertex(int index, NodeTrouble& trouble) const
    {
        if (index < 0 || static_cast<size_t>(index) >= textureVertices_.size()) {
            ++trouble.badTextureCorners;
            return TexCoord();
        }
        return textureVertices_[index];
    }

    // Face normals go to the faces in file order, vertex normals to their
    // corners a, b, c in file order (their vertex numbers are not looked
    // at). Both layouts of the exporters read alike: each face normal
    // followed by its three vertex normals, or all face normals first and
    // all vertex normals after them.
    void readNormals(SceneNode& node, NodeTrouble& trouble)
    {
        skip(1); // "{"
        const int listFloor = tokens_.depth();
        const int faces = node.faceCount;
        int faceNormals = 0;
        int vertexNormals = 0;
        // The next vertex normal's face and corner.
        int cornerFace = 0;
        int corner = 0;
        auto keep = [&](bool faceNormal, const Vec3& normal) {
            if (faceNormal) {
                if (faceNormals < faces)
                    scene_.faces[faceBase_ + faceNormals].faceNormal = normal;
                ++faceNormals;
            } else {
                if (cornerFace < faces) {
                    MeshFace& face = scene_.faces[faceBase_ + cornerFace];
                    (corner == 0 ? face.normalA : corner == 1 ? face.normalB : face.normalC) = normal;
                }
                ++vertexNormals;
                if (++corner == 3) {
                    corner = 0;
                    ++cornerFace;
                }
            }
            return faceNormals < faces || cornerFace < faces;
        };
        while (faceNormals < faces || vertexNormals < 3 * faces) {
            const int which = tokens_.nextIsOneOf("MESH_FACENORMAL", "MESH_VERTEXNORMAL");
            if (tokens_.ended() || tokens_.depth() < listFloor || endsObject())
                break;
            // A run of plain normals, each the very next token after the
            // one before, at once where it can.
            using Normal = double[3];
            if (which != 0 &&
                tokens_.plainItems<sizeof "MESH_FACENORMAL", sizeof "MESH_VERTEXNORMAL", Normal, 1,
                                   AseTokens::WideNumbers>(
                    "MESH_FACENORMAL", "MESH_VERTEXNORMAL", true, 1 << 30,
                    AseTokens::plainTokens<1, 3, double>, [&](int, size_t length, const Normal& v) {
                        return keep(
                            length == sizeof "MESH_FACENORMAL" - 1,
                            {static_cast<float>(v[0]), static_cast<float>(v[1]), static_cast<float>(v[2])});
                    }) > 0)
                continue;
            if (which != 0) {
                Vec3 normal;
                readNumberedVec3(normal);
                keep(which == 1, normal);
            }
        }
        if (faces > 0)
            trouble.faceNormalsListed = std::min(faceNormals, vertexNormals / 3);
    }

    // Position, rotation and scale tracks, each at most once and only in
    // that order, directly inside the block; other controllers (Bezier,
    // TCB and the like, which the game does not play) are passed over
    // whole. The search ends at the block's closing brace.
    void readTracks(SceneNode& node, NodeTrouble& trouble)
    {
        const int floor = tokens_.depth() + 1;
        int nextKind = 0;
        while (tokens_.next() && !endsObject()) {
            if (tokens_.is("}") && tokens_.depth() < floor)
                return;
            // Inside another controller's block.
            if (tokens_.depth() != floor)
                continue;
            if (tokens_.is("CONTROL_POS_TRACK") && nextKind <= 0) {
                nextKind = 1;
                readSamples(3, trouble, [&](float time, const float* v) {
                    node.positionTrack.values.push_back({v[0], v[1], v[2], 1.0f});
                    node.positionTrack.times.push_back(time);
                    node.positionTrack.present = true;
                });
            } else if (tokens_.is("CONTROL_ROT_TRACK") && nextKind <= 1) {
                nextKind = 2;
                readSamples(4, trouble, [&](float time, const float* v) {
                    node.rotationTrack.axes.push_back({v[0], v[1], v[2]});
                    node.rotationTrack.angles.push_back(v[3]);
                    node.rotationTrack.times.push_back(time);
                    node.rotationTrack.present = true;
                });
            } else if (tokens_.is("CONTROL_SCALE_TRACK") && nextKind <= 2) {
                nextKind = 3;
                readSamples(3, trouble, [&](float time, const float* v) {
                    node.scaleTrack.values.push_back({v[0], v[1], v[2], 1.0f});
                    node.scaleTrack.times.push_back(time);
                    node.scaleTrack.present = true;
                });
            }
            if (endsObject())
                return;
        }
    }

    // "{", then samples of a keyword (stepped over, not compared), a time
    // and `count` numbers, up to the track's "}". Numbers a sample has
    // beyond those (a scale sample as 3ds Max writes it adds the axis and
    // angle of its scale) are passed over. A sample cut short by the end of
    // the track or of the text is dropped. Leaves the track's "}" current.
    template <typename Add> void readSamples(int count, NodeTrouble& trouble, Add add)
    {
        skip(1);
        const int trackFloor = tokens_.depth();
        tokens_.next();
        while (!tokens_.ended() && !tokens_.is("}") && !endsObject() && tokens_.depth() >= trackFloor) {
            float time = number();
            float values[4] = {};
            for (int i = 0; i < count; ++i)
                values[i] = number();
            if (tokens_.ended() || tokens_.depth() < trackFloor) {
                ++trouble.cutKeys;
                return;
            }
            add(time, values);
            while (tokens_.next() && looksNumeric(tokens_.current())) {
            }
        }
    }

    void linkParents()
    {
        std::unordered_map<std::string_view, int32_t> firstByName;
        for (size_t j = 0; j < scene_.nodes.size(); ++j)
            firstByName.emplace(scene_.nodes[j].name, static_cast<int32_t>(j));
        for (size_t i = 0; i < scene_.nodes.size(); ++i) {
            SceneNode& node = scene_.nodes[i];
            if (!node.hasParent)
                continue;
            auto found = firstByName.find(node.parentName);
            if (found == firstByName.end())
                continue;
            node.parentIndex = found->second;
            scene_.nodes[found->second].children.push_back(static_cast<int32_t>(i));
        }
    }

    // One line per thing dropped, cut or replaced in the object.
    void tell(const SceneNode& node, const NodeTrouble& t)
    {
        const std::string who =
            "object \"" + node.name + "\" (number " + std::to_string(scene_.nodeCount) + "): ";
        auto warn = [&](const std::string& text) { scene_.warnings.push_back(who + text); };
        auto of = [](int listed, int declared) {
            return std::to_string(listed) + " of " + std::to_string(declared);
        };
        if (t.capacity)
            warn("its mesh would take the model past " + std::to_string(MaxSceneVertices) + " vertices or " +
                 std::to_string(MaxSceneFaces) + " faces and is left out");
        if (t.negativeCount)
            warn("a negative vertex or face count; its mesh is left out");
        if (t.secondMesh)
            warn("a second mesh replaces the first");
        if (t.verticesListed >= 0 && t.verticesListed < node.vertexCount)
            warn("the vertex list holds " + of(t.verticesListed, node.vertexCount) +
                 " vertices; the rest stay at the origin");
        if (t.facesListed >= 0 && t.facesListed < node.faceCount)
            warn("the face list holds " + of(t.facesListed, node.faceCount) + " faces; the rest are empty");
        if (t.badCorners > 0)
            warn(std::to_string(t.badCorners) + " face corner(s) name no vertex of the object's " +
                 std::to_string(node.vertexCount) + "; they take vertex 0");
        if (t.textureVerticesListed >= 0 && t.textureVerticesListed < t.textureVerticesDeclared)
            warn("the texture vertex list holds " + of(t.textureVerticesListed, t.textureVerticesDeclared) +
                 " texture vertices");
        if (t.textureFacesListed >= 0 && t.textureFacesListed < node.faceCount)
            warn("the texture face list holds " + of(t.textureFacesListed, node.faceCount) +
                 " faces; the rest keep texture coordinates 0 0");
        if (t.badTextureCorners > 0)
            warn(std::to_string(t.badTextureCorners) +
                 " texture corner(s) name no texture vertex; they take texture coordinates 0 0");
        if (t.faceNormalsListed >= 0 && t.faceNormalsListed < node.faceCount)
            warn("the normals give " + of(t.faceNormalsListed, node.faceCount) +
                 " faces their face and vertex normals; the rest keep 0 0 0");
        if (t.cutKeys > 0)
            warn(std::to_string(t.cutKeys) + " animation key(s) cut short are left out");
        if (t.badMaterial)
            warn("MATERIAL_REF " + std::to_string(t.badMaterialRef) + " names none of the " +
                 std::to_string(materials_.size()) + " materials; it is drawn in the default material");
    }

    Scene& scene_;
    const AseText& text_;
    AseTokens tokens_;
    std::vector<Material> materials_;
    std::vector<TexCoord> textureVertices_;
    int vertexBase_ = 0;
    int faceBase_ = 0;
};

} // namespace

int readAse(const AseText& text, Scene& scene, bool quickReads)
{
    AseReader reader(scene, text, quickReads);
    reader.read();
    return reader.unclosedBlocks();
}
