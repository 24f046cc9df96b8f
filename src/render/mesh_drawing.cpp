// Drawing a whole Scene: per node its material, its transform and its
// triangles, from the node's display list where the Scene has them, else in
// immediate mode. Opaque nodes are lit; any transparency makes a node
// blended and unlit, with 1 - transparency as its alpha.

#include "render/scene_loading.h"
#include "render/texture_registry.h"

#include "scene/scene.h"

#include <GL/gl.h>

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

void drawNodes(const Scene* scene, const std::vector<Matrix4>* pose)
{
    size_t vertexBase = 0;
    size_t faceBase = 0;
    const bool lists =
        scene->drawListBase != 0 && scene->drawListCount == static_cast<int32_t>(scene->nodes.size());
    for (size_t n = 0; n < scene->nodes.size(); ++n) {
        const SceneNode& node = scene->nodes[n];
        applyMaterial(node.material);
        glPushMatrix();
        glMultMatrixf(pose && n < pose->size() ? (*pose)[n].m : node.worldMatrix.m);
        if (lists)
            glCallList(scene->drawListBase + static_cast<GLuint>(n));
        else
            sendTriangles(scene, node, vertexBase, faceBase);
        glPopMatrix();
        vertexBase += node.vertexCount;
        faceBase += node.faceCount;
        glDisable(GL_BLEND);
        glDisable(GL_TEXTURE_2D);
        glDisable(GL_LIGHTING);
        glDisable(GL_LIGHT0);
    }
}

} // namespace

void makeSceneDrawLists(Scene& scene)
{
    if (!TextureUploads || scene.drawListBase != 0 || scene.nodes.empty())
        return;
    const GLuint base = glGenLists(static_cast<GLsizei>(scene.nodes.size()));
    if (base == 0)
        return;
    size_t vertexBase = 0;
    size_t faceBase = 0;
    for (size_t n = 0; n < scene.nodes.size(); ++n) {
        const SceneNode& node = scene.nodes[n];
        glNewList(base + static_cast<GLuint>(n), GL_COMPILE);
        sendTriangles(&scene, node, vertexBase, faceBase);
        glEndList();
        vertexBase += node.vertexCount;
        faceBase += node.faceCount;
    }
    scene.drawListBase = base;
    scene.drawListCount = static_cast<int32_t>(scene.nodes.size());
}

void TextureRegistry::draw(const Scene* scene) { drawNodes(scene, nullptr); }

void TextureRegistry::draw(const Scene* scene, const std::vector<Matrix4>& pose) { drawNodes(scene, &pose); }
