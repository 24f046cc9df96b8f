// Drawing a whole Scene: per node its material, its transform and its
// triangles, from the node's display list where the Scene has them, else in
// immediate mode. Opaque nodes are lit; any transparency makes a node
// blended and unlit, with 1 - transparency as its alpha.

#include "render/scene_loading.h"
#include "render/texture_registry.h"

#include "scene/scene.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <limits>

namespace {

void applyMaterial(const Material& material)
{
    const GLfloat ambient[] = {material.ambient.r, material.ambient.g, material.ambient.b, 1.0f};
    const GLfloat diffuse[] = {material.diffuse.r, material.diffuse.g, material.diffuse.b, 1.0f};
    const GLfloat specular[] = {material.specular.r, material.specular.g, material.specular.b, 1.0f};
    if (material.transparency == 0.0f) {
        glEnable(GL_LIGHTING);
        glEnable(GL_LIGHT0);
        glMaterialfv(GL_FRONT, GL_AMBIENT, ambient);
        glMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse);
        glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
        glMaterialf(GL_FRONT, GL_SHININESS, material.shine);
    } else {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    const GLfloat alpha = 1.0f - material.transparency;
    if (material.bitmap.empty()) {
        glDisable(GL_TEXTURE_2D);
        glColor4f(material.diffuse.r, material.diffuse.g, material.diffuse.b, alpha);
    } else {
        glTexEnvf(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, static_cast<GLfloat>(GL_MODULATE));
        glEnable(GL_TEXTURE_2D);
        glColor4f(material.diffuse.r, material.diffuse.g, material.diffuse.b, alpha);
        glBindTexture(GL_TEXTURE_2D, material.textureId);
    }
}

// What applyMaterial enables, off again.
void clearMaterial()
{
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glDisable(GL_LIGHT0);
}

bool sameColour(const Colour4& a, const Colour4& b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

// Whether applyMaterial would set the same state for both.
bool sameLook(const Material& a, const Material& b)
{
    return a.transparency == b.transparency && a.bitmap.empty() == b.bitmap.empty() &&
           a.textureId == b.textureId && a.shine == b.shine && sameColour(a.ambient, b.ambient) &&
           sameColour(a.diffuse, b.diffuse) && sameColour(a.specular, b.specular);
}

void corner(const MeshVertex& vertex, const Vec3& normal, const TexCoord& uv)
{
    glNormal3f(normal.x, normal.y, normal.z);
    glTexCoord2f(uv.u, uv.v);
    glVertex3f(vertex.x, vertex.y, vertex.z);
}

// The node's triangles; its vertices and faces start at these places of the
// Scene's arrays.
void sendTriangles(const Scene* scene, const SceneNode& node, size_t vertexBase, size_t faceBase)
{
    const MeshVertex* vertices = scene->vertices.data();
    glBegin(GL_TRIANGLES);
    // The reader keeps every node's share and corner inside the arrays.
    const size_t faceEnd = faceBase + node.faceCount;
    if (faceEnd <= scene->faces.size()) {
        for (size_t f = faceBase; f < faceEnd; ++f) {
            const MeshFace& face = scene->faces[f];
            corner(vertices[vertexBase + face.a], face.normalA, face.texA);
            corner(vertices[vertexBase + face.b], face.normalB, face.texB);
            corner(vertices[vertexBase + face.c], face.normalC, face.texC);
        }
    }
    glEnd();
}

// Whether the box lies wholly beyond one side of the view volume (near and
// far planes included), seen through `clip`, the projection times the
// modelview times the node's matrix: GL would then draw none of it.
bool outsideView(const Matrix4& clip, const std::array<float, 6>& box)
{
    const float* c = clip.m;
    // Per side, whether every corner so far lies beyond it: x < -w, x > w,
    // y < -w, y > w, z < -w, z > w.
    bool beyond[6] = {true, true, true, true, true, true};
    for (int corner = 0; corner < 8; ++corner) {
        const float x = box[(corner & 1) ? 3 : 0], y = box[(corner & 2) ? 4 : 1],
                    z = box[(corner & 4) ? 5 : 2];
        const float w = c[3] * x + c[7] * y + c[11] * z + c[15];
        const float p[3] = {c[0] * x + c[4] * y + c[8] * z + c[12], c[1] * x + c[5] * y + c[9] * z + c[13],
                            c[2] * x + c[6] * y + c[10] * z + c[14]};
        // A little slack for rounding: only what is clearly beyond counts.
        for (int axis = 0; axis < 3; ++axis) {
            const float slack = 1e-4f * (std::abs(w) + std::abs(p[axis])) + 1e-6f;
            beyond[2 * axis] = beyond[2 * axis] && p[axis] + w < -slack;
            beyond[2 * axis + 1] = beyond[2 * axis + 1] && p[axis] - w > slack;
        }
    }
    return std::find(std::begin(beyond), std::end(beyond), true) != std::end(beyond);
}

// The box round the corners the node's triangles use (a box with nothing
// in it, lowest above highest, where it has none).
std::array<float, 6> cornerBox(const Scene& scene, const SceneNode& node, size_t vertexBase, size_t faceBase)
{
    const float huge = std::numeric_limits<float>::max();
    std::array<float, 6> box = {huge, huge, huge, -huge, -huge, -huge};
    const size_t faceEnd = faceBase + node.faceCount;
    if (faceEnd > scene.faces.size())
        return box;
    for (size_t f = faceBase; f < faceEnd; ++f)
        for (int32_t index : {scene.faces[f].a, scene.faces[f].b, scene.faces[f].c}) {
            const MeshVertex& v = scene.vertices[vertexBase + static_cast<size_t>(index)];
            box = {std::min(box[0], v.x), std::min(box[1], v.y), std::min(box[2], v.z),
                   std::max(box[3], v.x), std::max(box[4], v.y), std::max(box[5], v.z)};
        }
    return box;
}

void drawNodes(const Scene* scene, const std::vector<Matrix4>* pose)
{
    size_t vertexBase = 0;
    size_t faceBase = 0;
    const bool lists =
        scene->drawListBase != 0 && scene->drawListCount == static_cast<int32_t>(scene->nodes.size());
    // With the lists, nodes wholly outside the view are left out (their
    // material is still set, so what is drawn next finds GL as before).
    const bool culling = lists && scene->drawListBoxes.size() == scene->nodes.size();
    const Matrix4 view = culling ? currentClip() : Matrix4{};
    bool kindDrawn[2][2] = {{false, false}, {false, false}};
    const Material* applied = nullptr;
    for (size_t n = 0; n < scene->nodes.size(); ++n) {
        const SceneNode& node = scene->nodes[n];
        if (DrawOneNodeOfEachKind != NodesOfEachKind::Off) {
            const bool opaque = node.material.transparency == 0.0f;
            bool& drawn = kindDrawn[opaque][node.material.bitmap.empty()];
            if (drawn || (!opaque && DrawOneNodeOfEachKind == NodesOfEachKind::FirstOpaque)) {
                vertexBase += node.vertexCount;
                faceBase += node.faceCount;
                continue;
            }
            drawn = true;
        }
        // Consecutive nodes of one look (the terrain's tiles) share one
        // setting of it: each change of material costs Mesa a revalidation.
        if (!applied || !sameLook(*applied, node.material)) {
            if (applied)
                clearMaterial();
            applyMaterial(node.material);
            applied = &node.material;
        }
        const Matrix4& matrix = pose && n < pose->size() ? (*pose)[n] : node.worldMatrix;
        if (!culling || !outsideView(view * matrix, scene->drawListBoxes[n])) {
            glPushMatrix();
            glMultMatrixf(matrix.m);
            if (lists)
                glCallList(scene->drawListBase + static_cast<GLuint>(n));
            else
                sendTriangles(scene, node, vertexBase, faceBase);
            glPopMatrix();
        }
        vertexBase += node.vertexCount;
        faceBase += node.faceCount;
    }
    if (applied)
        clearMaterial();
}

} // namespace

NodesOfEachKind DrawOneNodeOfEachKind = NodesOfEachKind::Off;

void makeSceneDrawLists(Scene& scene)
{
    if (!TextureUploads || scene.drawListBase != 0 || scene.nodes.empty())
        return;
    const GLuint base = glGenLists(static_cast<GLsizei>(scene.nodes.size()));
    if (base == 0)
        return;
    size_t vertexBase = 0;
    size_t faceBase = 0;
    scene.drawListBoxes.clear();
    for (size_t n = 0; n < scene.nodes.size(); ++n) {
        const SceneNode& node = scene.nodes[n];
        glNewList(base + static_cast<GLuint>(n), GL_COMPILE);
        sendTriangles(&scene, node, vertexBase, faceBase);
        glEndList();
        scene.drawListBoxes.push_back(cornerBox(scene, node, vertexBase, faceBase));
        vertexBase += node.vertexCount;
        faceBase += node.faceCount;
    }
    scene.drawListBase = base;
    scene.drawListCount = static_cast<int32_t>(scene.nodes.size());
}

void dropDrawnTriangles(Scene& scene)
{
    const size_t nodes = scene.nodes.size();
    if (scene.drawListBase == 0 || scene.drawListCount != static_cast<int32_t>(nodes) ||
        scene.drawListBoxes.size() != nodes)
        return;
    std::vector<MeshVertex>().swap(scene.vertices);
    std::vector<MeshFace>().swap(scene.faces);
}

Matrix4 currentClip(int viewport[4])
{
    Matrix4 projection, modelview;
    glGetFloatv(GL_PROJECTION_MATRIX, projection.m);
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview.m);
    if (viewport)
        glGetIntegerv(GL_VIEWPORT, viewport);
    return projection * modelview;
}

void clearPicture(unsigned int mask)
{
    GLint box[4] = {0, 0, 0, 0}, viewport[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    glGetIntegerv(GL_VIEWPORT, viewport);
    const bool whole = glIsEnabled(GL_SCISSOR_TEST) && std::equal(box, box + 4, viewport);
    if (whole)
        glDisable(GL_SCISSOR_TEST);
    glClear(mask);
    if (whole)
        glEnable(GL_SCISSOR_TEST);
}

void drawScissoredAway(void (*draw)())
{
    GLint box[4] = {0, 0, 0, 0};
    glGetIntegerv(GL_SCISSOR_BOX, box);
    glScissor(box[0], box[1], 0, 0);
    draw();
    glScissor(box[0], box[1], box[2], box[3]);
}

void addSceneRects(const Scene* scene, std::vector<PixelRect>& rects)
{
    if (!scene)
        return;
    int viewport[4] = {0, 0, 0, 0};
    const Matrix4 view = currentClip(viewport);
    const bool boxes = scene->drawListBoxes.size() == scene->nodes.size();
    size_t vertexBase = 0, faceBase = 0;
    for (size_t n = 0; n < scene->nodes.size(); ++n) {
        const SceneNode& node = scene->nodes[n];
        const std::array<float, 6> box =
            boxes ? scene->drawListBoxes[n] : cornerBox(*scene, node, vertexBase, faceBase);
        vertexBase += node.vertexCount;
        faceBase += node.faceCount;
        if (box[0] > box[3])
            continue;
        const Matrix4 clip = view * node.worldMatrix;
        const float* c = clip.m;
        float low[2] = {std::numeric_limits<float>::max(), std::numeric_limits<float>::max()};
        float high[2] = {-low[0], -low[1]};
        bool behind = false;
        for (int corner = 0; corner < 8 && !behind; ++corner) {
            const float x = box[(corner & 1) ? 3 : 0], y = box[(corner & 2) ? 4 : 1],
                        z = box[(corner & 4) ? 5 : 2];
            const float w = c[3] * x + c[7] * y + c[11] * z + c[15];
            behind = !(w > 1e-6f);
            for (int axis = 0; axis < 2; ++axis) {
                const float at = (c[axis] * x + c[4 + axis] * y + c[8 + axis] * z + c[12 + axis]) / w;
                const float pixel = (at + 1.0f) * 0.5f * static_cast<float>(viewport[2 + axis]);
                behind = behind || !std::isfinite(pixel);
                low[axis] = std::min(low[axis], pixel);
                high[axis] = std::max(high[axis], pixel);
            }
        }
        PixelRect rect{0, 0, viewport[2] - 1, viewport[3] - 1};
        if (!behind) {
            // A triangle takes the pixels whose centres it covers.
            auto first = [](float at) { return static_cast<int>(std::max(std::floor(at), -2.0f)) - 1; };
            auto last = [](float at) { return static_cast<int>(std::min(std::ceil(at), 1e8f)) + 1; };
            rect = {std::max(first(low[0]), 0), std::max(first(low[1]), 0),
                    std::min(last(high[0]), viewport[2] - 1), std::min(last(high[1]), viewport[3] - 1)};
        }
        if (rect.left <= rect.right && rect.bottom <= rect.top)
            rects.push_back(rect);
    }
}

void TextureRegistry::draw(const Scene* scene) { drawNodes(scene, nullptr); }

void TextureRegistry::draw(const Scene* scene, const std::vector<Matrix4>& pose) { drawNodes(scene, &pose); }
