// The ASE reader: the Scene constructor. One forward pass over the tokens of
// the whole file; each keyword the game knows pulls the tokens after it, in
// the order the exporter writes them, and everything else is passed over.
//
// Files come from modelling tools of every era, so every count, index and
// list is checked: a list stops at the brace that closes it, a node's mesh
// never leaves its share of the arrays, and a text that ends anywhere ends
// the load with what was read.

#include "scene/scene.h"

#include "platform/platform.h"
#include "render/texture_registry.h"
#include "scene/ase_tokens.h"
#include "scene/damaged_files.h"
#include "scene/number_text.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>
#include <string_view>
#include <unordered_map>

namespace {

// The original buffer held 9,000,000 bytes; a longer file is cut there.
constexpr size_t SceneFileBufferSize = 9000000;

void readText(std::FILE* file, std::vector<char>* text)
{
    // One read straight into the buffer when the size is known; growing
    // reads otherwise, up to the same limit.
    std::fseek(file, 0, SEEK_END);
    long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    size_t got = 0;
    if (size > 0) {
        text->resize(std::min<size_t>(static_cast<size_t>(size), SceneFileBufferSize));
        got = std::fread(text->data(), 1, text->size(), file);
    }
    text->resize(got);
    char chunk[65536];
    while (text->size() < SceneFileBufferSize) {
        size_t want = std::min(sizeof chunk, SceneFileBufferSize - text->size());
        size_t got = std::fread(chunk, 1, want, file);
        text->insert(text->end(), chunk, chunk + got);
        if (got < want)
            break;
    }
    // The text ends at the first zero byte, and CR LF reads as LF, as the
    // exporters' Windows text mode gave it.
    text->push_back('\0');
    size_t length = std::char_traits<char>::length(text->data());
    char* data = text->data();
    char* out = static_cast<char*>(std::memchr(data, '\r', length));
    if (out) {
        const char* in = out;
        const char* end = data + length;
        for (; in < end; ++in) {
            if (*in == '\r' && in + 1 < end && in[1] == '\n')
                continue;
            *out++ = *in;
        }
        *out = '\0';
    }
}

class AseReader {
  public:
    AseReader(Scene& scene, char* text) : scene_(scene), tokens_(text) {}

    void read()
    {
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
    }

    // Blocks opened and not closed when the text ended: a cut file.
    int unclosedBlocks() const { return tokens_.depth(); }

  private:
    float number()
    {
        const char* token = tokens_.next();
        return token ? static_cast<float>(localeFreeAtof(token)) : 0.0f;
    }

    int integer()
    {
        const char* token = tokens_.next();
        return token ? localeFreeAtoi(token) : 0;
    }

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

    void readMaterialList()
    {
        const int floor = tokens_.depth() + 1;
        if (!skipTo(floor, "MATERIAL_COUNT"))
            return;
        const float count = number();
        for (float k = 0; k < count; k += 1) {
            Material m;
            if (!skipTo(floor, "MATERIAL_NAME") || !tokens_.next())
                return;
            m.name = tokens_.current();
            if (!skipTo(floor, "MATERIAL_AMBIENT"))
                return;
            readColour(m.ambient);
            if (!skipTo(floor, "MATERIAL_DIFFUSE"))
                return;
            readColour(m.diffuse);
            if (!skipTo(floor, "MATERIAL_SPECULAR"))
                return;
            readColour(m.specular);
            if (!skipTo(floor, "MATERIAL_SHINE"))
                return;
            m.shine = number();
            if (!skipTo(floor, "MATERIAL_TRANSPARENCY"))
                return;
            m.transparency = number();
            // The first closing brace before a diffuse map (that of an
            // ambient map, say) leaves the material untextured.
            if (!skipTo(floor, "MAP_DIFFUSE", "}"))
                return;
            if (tokens_.is("MAP_DIFFUSE")) {
                if (!skipTo(floor, "BITMAP") || !tokens_.nextBitmapPath())
                    return;
                m.bitmap = tokens_.current();
                GameTextures.load(m.bitmap, m.bitmap);
                // Every material gets a texture of its own, even where two
                // name the same file; the Scene deletes them all.
                m.textureId = uploadTexture(m.bitmap);
                if (m.textureId != 0)
                    scene_.ownedTextures.push_back(m.textureId);
            }
            materials_.push_back(std::move(m));
        }
    }

    void readNode()
    {
        scene_.nodeCount += 1;
        SceneNode node;
        vertexBase_ = scene_.totalVertices;
        faceBase_ = scene_.totalFaces;

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
            if (tokens_.is("MESH_NUMVERTEX"))
                readVertices(node);
            if (tokens_.is("MESH_FACE_LIST"))
                readFaces(node);
            if (tokens_.is("MESH_NUMTVERTEX"))
                readTextureFaces(node);
            if (tokens_.is("MESH_NORMALS"))
                readNormals(node);
            if (tokens_.is("TM_ANIMATION"))
                readTracks(node);
            if (tokens_.is("MATERIAL_REF")) {
                int index = integer();
                // An index outside the list gets an untextured default.
                if (index >= 0 && static_cast<size_t>(index) < materials_.size())
                    node.material = materials_[index];
                break;
            }
            if (tokens_.is("WIREFRAME_COLOR")) {
                readColour(node.material.diffuse);
                break;
            }
            if (tokens_.ended())
                break;
            tokens_.next();
        }

        node.hasParent = !node.parentName.empty();
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
    void readVertices(SceneNode& node)
    {
        const int floor = tokens_.depth() + 1;
        int n = integer();
        skip(1);
        int f = integer();
        if (n < 0 || f < 0 || n == 0)
            f = 0;
        if (n < 0)
            n = 0;
        if (n > MaxSceneVertices - vertexBase_ || f > MaxSceneFaces - faceBase_)
            n = f = 0;
        node.vertexCount = n;
        node.faceCount = f;
        scene_.totalVertices = vertexBase_ + n;
        scene_.totalFaces = faceBase_ + f;
        scene_.vertices.resize(scene_.totalVertices);
        scene_.faces.resize(scene_.totalFaces);
        // Entries of this node that an earlier mesh of it wrote start over.
        std::fill(scene_.vertices.begin() + vertexBase_, scene_.vertices.end(), MeshVertex());
        std::fill(scene_.faces.begin() + faceBase_, scene_.faces.end(), MeshFace());

        if (n == 0 || !skipTo(floor, "MESH_VERTEX"))
            return;
        const int listFloor = tokens_.depth();
        int i = 0;
        for (;;) {
            skip(1); // the vertex number
            MeshVertex& v = scene_.vertices[vertexBase_ + i];
            v.x = number();
            v.y = number();
            v.z = number();
            ++i;
            if (!nextInList(listFloor, i, n, "MESH_VERTEX"))
                return;
        }
    }

    // Moves to the next item keyword of a list while fewer than `count`
    // items were read and the list's block is open.
    template <size_t N> bool nextInList(int listFloor, int read, int count, const char (&keyword)[N])
    {
        while (read < count && !tokens_.ended() && tokens_.depth() >= listFloor) {
            tokens_.next();
            if (tokens_.is(keyword))
                return true;
        }
        return false;
    }

    void readFaces(SceneNode& node)
    {
        const int f = node.faceCount;
        if (f == 0 || !skipTo(tokens_.depth() + 1, "MESH_FACE"))
            return;
        const int listFloor = tokens_.depth();
        const int n = node.vertexCount;
        int i = 0;
        for (;;) {
            MeshFace& face = scene_.faces[faceBase_ + i];
            skip(2); // the label "0:" and "A:"
            face.a = integer();
            skip(1);
            face.b = integer();
            skip(1);
            face.c = integer();
            // A corner outside the node's vertices would draw and collide
            // with another node's (or no) vertex: it becomes the first.
            for (int32_t* corner : {&face.a, &face.b, &face.c})
                if (*corner < 0 || *corner >= n)
                    *corner = 0;
            ++i;
            if (!nextInList(listFloor, i, f, "MESH_FACE"))
                return;
        }
    }

    void readTextureFaces(SceneNode& node)
    {
        const int meshFloor = tokens_.depth();
        const int t = integer();
        if (t <= 0)
            return;
        textureVertices_.clear();
        if (!skipTo(meshFloor + 1, "MESH_TVERT"))
            return;
        int listFloor = tokens_.depth();
        for (int i = 0;;) {
            skip(1);
            TexCoord uvw;
            uvw.u = number();
            uvw.v = number();
            uvw.w = number();
            textureVertices_.push_back(uvw);
            ++i;
            if (!nextInList(listFloor, i, t, "MESH_TVERT"))
                break;
        }

        const int f = node.faceCount;
        if (f == 0 || !skipTo(meshFloor, "MESH_TFACELIST") || !skipTo(tokens_.depth() + 1, "MESH_TFACE"))
            return;
        listFloor = tokens_.depth();
        // Texture faces beyond the node's faces are passed over; faces
        // without one, and indices outside the texture vertices, keep 0.
        for (int i = 0;;) {
            skip(1);
            MeshFace& face = scene_.faces[faceBase_ + i];
            face.texA = textureVertex(integer());
            face.texB = textureVertex(integer());
            face.texC = textureVertex(integer());
            ++i;
            if (!nextInList(listFloor, i, f, "MESH_TFACE"))
                return;
        }
    }

    TexCoord textureVertex(int index) const
    {
        if (index < 0 || static_cast<size_t>(index) >= textureVertices_.size())
            return TexCoord();
        return textureVertices_[index];
    }

    // Per face: its face normal, then the vertex normals of corners a, b, c
    // in file order (their vertex numbers are not looked at).
    void readNormals(SceneNode& node)
    {
        skip(1); // "{"
        const int listFloor = tokens_.depth();
        for (int k = 0; k < node.faceCount; ++k) {
            MeshFace& face = scene_.faces[faceBase_ + k];
            if (!tokens_.next() || tokens_.depth() < listFloor)
                return;
            if (tokens_.is("MESH_FACENORMAL")) {
                skip(1);
                readVec3(face.faceNormal);
            }
            if (!tokens_.next() || tokens_.depth() < listFloor)
                return;
            if (tokens_.is("MESH_VERTEXNORMAL")) {
                skip(1);
                readVec3(face.normalA);
                skip(2);
                readVec3(face.normalB);
                skip(2);
                readVec3(face.normalC);
            }
        }
    }

    // Position, rotation and scale tracks, each at most once and only in
    // that order. A block without any of them ends the search at its
    // closing brace.
    void readTracks(SceneNode& node)
    {
        const int floor = tokens_.depth() + 1;
        if (!skipTo(floor, "CONTROL_POS_TRACK", "CONTROL_ROT_TRACK", "CONTROL_SCALE_TRACK"))
            return;
        if (tokens_.is("CONTROL_POS_TRACK")) {
            readSamples(3, [&](float time, const float* v) {
                node.positionTrack.values.push_back({v[0], v[1], v[2], 1.0f});
                node.positionTrack.times.push_back(time);
                node.positionTrack.present = true;
            });
            tokens_.next();
        }
        if (tokens_.is("CONTROL_ROT_TRACK")) {
            readSamples(4, [&](float time, const float* v) {
                node.rotationTrack.axes.push_back({v[0], v[1], v[2]});
                node.rotationTrack.angles.push_back(v[3]);
                node.rotationTrack.times.push_back(time);
                node.rotationTrack.present = true;
            });
            tokens_.next();
        }
        if (tokens_.is("CONTROL_SCALE_TRACK")) {
            readSamples(3, [&](float time, const float* v) {
                node.scaleTrack.values.push_back({v[0], v[1], v[2], 1.0f});
                node.scaleTrack.times.push_back(time);
                node.scaleTrack.present = true;
            });
        }
    }

    // "{", then samples of a keyword (stepped over, not compared), a time
    // and `count` numbers, up to the track's "}". A sample cut short by the
    // end of the track or of the text is dropped.
    template <typename Add> void readSamples(int count, Add add)
    {
        skip(1);
        const int trackFloor = tokens_.depth();
        tokens_.next();
        while (!tokens_.ended() && !tokens_.is("}") && tokens_.depth() >= trackFloor) {
            float time = number();
            float values[4] = {};
            for (int i = 0; i < count; ++i)
                values[i] = number();
            if (tokens_.ended() || tokens_.depth() < trackFloor)
                return;
            add(time, values);
            tokens_.next();
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

    Scene& scene_;
    AseTokens tokens_;
    std::vector<Material> materials_;
    std::vector<TexCoord> textureVertices_;
    int vertexBase_ = 0;
    int faceBase_ = 0;
};

} // namespace

extern int SceneCount;

Scene::Scene(std::string fileName, std::string sceneName)
{
    ++SceneCount;
    // Read only: a read-only installation must still load its models.
    std::FILE* file = std::fopen(fileName.c_str(), "rb");
    if (!file) {
        std::string message = "File " + fileName + " Not Found";
        platformErrorBox(message.c_str(), "ZaraZadu Error");
        return;
    }
    name = std::move(sceneName);
    std::vector<char> text;
    readText(file, &text);
    std::fclose(file);
    AseReader reader(*this, text.data());
    reader.read();
    if (nodeCount == 0)
        reportDamagedFile(fileName, "no model could be read from it");
    else if (reader.unclosedBlocks() > 0)
        reportDamagedFile(fileName, "it ends in the middle of a block, as if cut short");
}
