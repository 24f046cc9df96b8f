#include "ase.h"

#include "numfmt.h"

#include <cmath>
#include <stdexcept>

namespace {

void checkName(const std::string& name)
{
    if (name.empty() || name.find_first_of(" \t\n\",()*") != std::string::npos)
        throw std::invalid_argument("unusable ASE name: '" + name + "'");
}

std::string num(double v) { return fixed(v); }

std::string triple(V3 v) { return num(v.x) + "\t" + num(v.y) + "\t" + num(v.z); }
std::string triple(Rgb c) { return num(c.r) + "\t" + num(c.g) + "\t" + num(c.b); }

// Axis and angle of the rotation in a frame (scale removed); what the
// exporter writes beside the matrix for information.
void axisAngle(const Affine& tm, V3& axis, double& angle)
{
    V3 x = normalized(tm.column(0)), y = normalized(tm.column(1)), z = normalized(tm.column(2));
    double trace = x.x + y.y + z.z;
    angle = std::acos(std::fmax(-1.0, std::fmin(1.0, (trace - 1.0) * 0.5)));
    axis = normalized(V3{y.z - z.y, z.x - x.z, x.y - y.x});
    if (angle < 1e-6 || length(axis) == 0.0) {
        axis = {};
        angle = 0.0;
    }
}

void writeMaterial(std::string& out, int index, const AseMaterial& m)
{
    checkName(m.name);
    out += "\t*MATERIAL " + std::to_string(index) + " {\n";
    out += "\t\t*MATERIAL_NAME \"" + m.name + "\"\n";
    out += "\t\t*MATERIAL_CLASS \"Standard\"\n";
    out += "\t\t*MATERIAL_AMBIENT " + triple(m.ambient) + "\n";
    out += "\t\t*MATERIAL_DIFFUSE " + triple(m.diffuse) + "\n";
    out += "\t\t*MATERIAL_SPECULAR " + triple(m.specular) + "\n";
    out += "\t\t*MATERIAL_SHINE " + num(m.shine) + "\n";
    out += "\t\t*MATERIAL_SHINESTRENGTH 0.0500\n";
    out += "\t\t*MATERIAL_TRANSPARENCY " + num(m.transparency) + "\n";
    out += "\t\t*MATERIAL_WIRESIZE 1.0000\n";
    out += "\t\t*MATERIAL_SHADING Blinn\n";
    if (!m.bitmap.empty()) {
        if (m.bitmap.find_first_of("\",()*\t\n") != std::string::npos)
            throw std::invalid_argument("unusable bitmap path: " + m.bitmap);
        out += "\t\t*MAP_DIFFUSE {\n";
        out += "\t\t\t*MAP_NAME \"" + m.name + "Map\"\n";
        out += "\t\t\t*MAP_CLASS \"Bitmap\"\n";
        out += "\t\t\t*MAP_SUBNO 1\n";
        out += "\t\t\t*MAP_AMOUNT 1.0000\n";
        out += "\t\t\t*BITMAP \"" + m.bitmap + "\"\n";
        out += "\t\t\t*MAP_TYPE Screen\n";
        out += "\t\t\t*BITMAP_FILTER Pyramidal\n";
        out += "\t\t}\n";
    }
    out += "\t}\n";
}

void writeMesh(std::string& out, const Mesh& mesh)
{
    if (mesh.vertices.empty() || mesh.faces.empty() || mesh.tvertices.empty())
        throw std::invalid_argument("a node needs vertices, faces and texture vertices");
    out += "\t*MESH {\n\t\t*TIMEVALUE 0\n";
    out += "\t\t*MESH_NUMVERTEX " + std::to_string(mesh.vertices.size()) + "\n";
    out += "\t\t*MESH_NUMFACES " + std::to_string(mesh.faces.size()) + "\n";
    out += "\t\t*MESH_VERTEX_LIST {\n";
    for (size_t i = 0; i < mesh.vertices.size(); ++i)
        out += "\t\t\t*MESH_VERTEX " + std::to_string(i) + "\t" + triple(mesh.vertices[i]) + "\n";
    out += "\t\t}\n\t\t*MESH_FACE_LIST {\n";
    for (size_t i = 0; i < mesh.faces.size(); ++i) {
        const Mesh::Face& f = mesh.faces[i];
        for (int k = 0; k < 3; ++k)
            if (f.v[k] < 0 || size_t(f.v[k]) >= mesh.vertices.size() || f.t[k] < 0 ||
                size_t(f.t[k]) >= mesh.tvertices.size())
                throw std::out_of_range("face corner outside the mesh");
        out += "\t\t\t*MESH_FACE " + std::to_string(i) + ": A: " + std::to_string(f.v[0]) +
               " B: " + std::to_string(f.v[1]) + " C: " + std::to_string(f.v[2]) +
               " AB: 1 BC: 1 CA: 1\t*MESH_SMOOTHING 1\t*MESH_MTLID 0\n";
    }
    out += "\t\t}\n";
    out += "\t\t*MESH_NUMTVERTEX " + std::to_string(mesh.tvertices.size()) + "\n";
    out += "\t\t*MESH_TVERTLIST {\n";
    for (size_t i = 0; i < mesh.tvertices.size(); ++i)
        out += "\t\t\t*MESH_TVERT " + std::to_string(i) + "\t" + num(mesh.tvertices[i].u) + "\t" +
               num(mesh.tvertices[i].v) + "\t0.0000\n";
    out += "\t\t}\n";
    out += "\t\t*MESH_NUMTVFACES " + std::to_string(mesh.faces.size()) + "\n";
    out += "\t\t*MESH_TFACELIST {\n";
    for (size_t i = 0; i < mesh.faces.size(); ++i) {
        const Mesh::Face& f = mesh.faces[i];
        out += "\t\t\t*MESH_TFACE " + std::to_string(i) + "\t" + std::to_string(f.t[0]) + "\t" +
               std::to_string(f.t[1]) + "\t" + std::to_string(f.t[2]) + "\n";
    }
    out += "\t\t}\n\t\t*MESH_NUMCVERTEX 0\n";
    out += "\t\t*MESH_NORMALS {\n";
    for (size_t i = 0; i < mesh.faces.size(); ++i) {
        const Mesh::Face& f = mesh.faces[i];
        out += "\t\t\t*MESH_FACENORMAL " + std::to_string(i) + "\t" + triple(mesh.faceNormal(f)) + "\n";
        for (int k = 0; k < 3; ++k)
            out += "\t\t\t\t*MESH_VERTEXNORMAL " + std::to_string(f.v[k]) + "\t" +
                   triple(normalized(f.n[k])) + "\n";
    }
    out += "\t\t}\n\t}\n";
}

void writeAnimation(std::string& out, const AseObject& o)
{
    if (o.positionKeys.empty() && o.rotationKeys.empty())
        return;
    out += "\t*TM_ANIMATION {\n\t\t*NODE_NAME \"" + o.name + "\"\n";
    if (!o.positionKeys.empty()) {
        out += "\t\t*CONTROL_POS_TRACK {\n";
        for (const PositionKey& k : o.positionKeys)
            out += "\t\t\t*CONTROL_POS_SAMPLE " + std::to_string(k.time) + "\t" + triple(k.value) + "\n";
        out += "\t\t}\n";
    }
    if (!o.rotationKeys.empty()) {
        out += "\t\t*CONTROL_ROT_TRACK {\n";
        for (const RotationKey& k : o.rotationKeys)
            out += "\t\t\t*CONTROL_ROT_SAMPLE " + std::to_string(k.time) + "\t" + triple(normalized(k.axis)) +
                   "\t" + num(k.angle) + "\n";
        out += "\t\t}\n";
    }
    out += "\t}\n";
}

void writeObject(std::string& out, const AseObject& o)
{
    checkName(o.name);
    out += "*GEOMOBJECT {\n";
    out += "\t*NODE_NAME \"" + o.name + "\"\n";
    if (!o.parent.empty()) {
        checkName(o.parent);
        out += "\t*NODE_PARENT \"" + o.parent + "\"\n";
    }
    V3 axis;
    double angle;
    axisAngle(o.tm, axis, angle);
    out += "\t*NODE_TM {\n";
    out += "\t\t*NODE_NAME \"" + o.name + "\"\n";
    out += "\t\t*INHERIT_POS 0 0 0\n\t\t*INHERIT_ROT 0 0 0\n\t\t*INHERIT_SCL 0 0 0\n";
    for (int r = 0; r < 4; ++r)
        out += "\t\t*TM_ROW" + std::to_string(r) + " " + triple(o.tm.column(r)) + "\n";
    out += "\t\t*TM_POS " + triple(o.tm.column(3)) + "\n";
    out += "\t\t*TM_ROTAXIS " + triple(axis) + "\n";
    out += "\t\t*TM_ROTANGLE " + num(angle) + "\n";
    out += "\t\t*TM_SCALE 1.0000\t1.0000\t1.0000\n";
    out += "\t\t*TM_SCALEAXIS 0.0000\t0.0000\t0.0000\n";
    out += "\t\t*TM_SCALEAXISANG 0.0000\n";
    out += "\t}\n";
    writeMesh(out, o.mesh);
    out += "\t*PROP_MOTIONBLUR 0\n\t*PROP_CASTSHADOW 1\n\t*PROP_RECVSHADOW 1\n";
    writeAnimation(out, o);
    out += "\t*MATERIAL_REF " + std::to_string(o.material) + "\n";
    out += "}\n";
}

} // namespace

int AseScene::addMaterial(const AseMaterial& m)
{
    materials.push_back(m);
    return int(materials.size()) - 1;
}

AseObject& AseScene::addObject(const std::string& name, const Mesh& mesh, int material, const Affine& tm)
{
    AseObject o;
    o.name = name;
    o.mesh = mesh;
    o.material = material;
    o.tm = tm;
    objects.push_back(std::move(o));
    return objects.back();
}

AseObject* AseScene::find(const std::string& name)
{
    for (AseObject& o : objects)
        if (o.name == name)
            return &o;
    return nullptr;
}

const AseObject* AseScene::find(const std::string& name) const
{
    return const_cast<AseScene*>(this)->find(name);
}

int AseScene::totalVertices() const
{
    int n = 0;
    for (const AseObject& o : objects)
        n += int(o.mesh.vertices.size());
    return n;
}

int AseScene::totalFaces() const
{
    int n = 0;
    for (const AseObject& o : objects)
        n += int(o.mesh.faces.size());
    return n;
}

std::string writeAse(const AseScene& scene)
{
    std::string out;
    out.reserve(size_t(scene.totalFaces()) * 400 + 4096);
    out += "*3DSMAX_ASCIIEXPORT\t200\n";
    out += "*COMMENT \"Kestrava asset generator\"\n";
    out += "*SCENE {\n";
    out += "\t*SCENE_FILENAME \"" + scene.fileName + "\"\n";
    out += "\t*SCENE_FIRSTFRAME 0\n\t*SCENE_LASTFRAME " + std::to_string(scene.lastFrame) + "\n";
    out += "\t*SCENE_FRAMESPEED 30\n\t*SCENE_TICKSPERFRAME 160\n";
    out += "\t*SCENE_BACKGROUND_STATIC 0.0000\t0.0000\t0.0000\n";
    out += "\t*SCENE_AMBIENT_STATIC 0.0000\t0.0000\t0.0000\n";
    out += "}\n";
    out += "*MATERIAL_LIST {\n";
    out += "\t*MATERIAL_COUNT " + std::to_string(scene.materials.size()) + "\n";
    for (size_t i = 0; i < scene.materials.size(); ++i)
        writeMaterial(out, int(i), scene.materials[i]);
    out += "}\n";
    for (const AseObject& o : scene.objects) {
        if (o.material < 0 || size_t(o.material) >= scene.materials.size())
            throw std::out_of_range("material index outside the list in " + o.name);
        writeObject(out, o);
    }
    return out;
}
