#include "ase_generator.h"

#include <cstdio>

namespace {

void line(std::string& out, const char* format, auto... values)
{
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, format, values...);
    out += buffer;
    out += '\n';
}

} // namespace

std::string generateAse(int objects, int cells)
{
    std::string out;
    line(out, "*3DSMAX_ASCIIEXPORT\t200");
    line(out, "*MATERIAL_LIST {\n\t*MATERIAL_COUNT 1\n\t*MATERIAL 0 {\n\t\t*MATERIAL_NAME \"Ground\"");
    line(out, "\t\t*MATERIAL_AMBIENT 0.5\t0.5\t0.5\n\t\t*MATERIAL_DIFFUSE 0.3\t0.6\t0.2");
    line(out, "\t\t*MATERIAL_SPECULAR 0.9\t0.9\t0.9\n\t\t*MATERIAL_SHINE 0.1\n\t\t*MATERIAL_TRANSPARENCY "
              "0.0\n\t}\n}");
    const int side = cells + 1;
    for (int o = 0; o < objects; ++o) {
        line(out, "*GEOMOBJECT {\n\t*NODE_NAME \"Patch%03d\"\n\t*NODE_TM {\n\t\t*NODE_NAME \"Patch%03d\"", o,
             o);
        line(out, "\t\t*TM_ROW0 1.0000\t0.0000\t0.0000\n\t\t*TM_ROW1 0.0000\t1.0000\t0.0000");
        line(out, "\t\t*TM_ROW2 0.0000\t0.0000\t1.0000\n\t\t*TM_ROW3 %.4f\t0.0000\t0.0000", o * 10.0);
        line(out, "\t\t*TM_POS %.4f\t0.0000\t0.0000\n\t}", o * 10.0);
        line(out, "\t*MESH {\n\t\t*TIMEVALUE 0\n\t\t*MESH_NUMVERTEX %d\n\t\t*MESH_NUMFACES %d", side * side,
             2 * cells * cells);
        line(out, "\t\t*MESH_VERTEX_LIST {");
        for (int v = 0; v < side * side; ++v)
            line(out, "\t\t\t*MESH_VERTEX %4d\t%.4f\t%.4f\t%.4f", v, o * 10.0 + v % side, 0.25 * (v % 7),
                 double(v / side));
        line(out, "\t\t}\n\t\t*MESH_FACE_LIST {");
        int f = 0;
        for (int y = 0; y < cells; ++y)
            for (int x = 0; x < cells; ++x) {
                int a = y * side + x;
                line(out,
                     "\t\t\t*MESH_FACE %4d:    A: %4d B: %4d C: %4d AB:    1 BC:    1 CA:    0\t "
                     "*MESH_SMOOTHING 1 \t*MESH_MTLID 0",
                     f++, a, a + 1, a + side + 1);
                line(out,
                     "\t\t\t*MESH_FACE %4d:    A: %4d B: %4d C: %4d AB:    1 BC:    1 CA:    0\t "
                     "*MESH_SMOOTHING 1 \t*MESH_MTLID 0",
                     f++, a + side + 1, a + side, a);
            }
        line(out, "\t\t}\n\t\t*MESH_NUMTVERTEX %d\n\t\t*MESH_TVERTLIST {", side * side);
        for (int v = 0; v < side * side; ++v)
            line(out, "\t\t\t*MESH_TVERT %d\t%.4f\t%.4f\t0.0000", v, double(v % side) / cells,
                 double(v / side) / cells);
        line(out, "\t\t}\n\t\t*MESH_NUMTVFACES %d\n\t\t*MESH_TFACELIST {", 2 * cells * cells);
        f = 0;
        for (int y = 0; y < cells; ++y)
            for (int x = 0; x < cells; ++x) {
                int a = y * side + x;
                line(out, "\t\t\t*MESH_TFACE %d\t%d\t%d\t%d", f++, a, a + 1, a + side + 1);
                line(out, "\t\t\t*MESH_TFACE %d\t%d\t%d\t%d", f++, a + side + 1, a + side, a);
            }
        line(out, "\t\t}\n\t\t*MESH_NORMALS {");
        for (int k = 0; k < 2 * cells * cells; ++k) {
            line(out, "\t\t\t*MESH_FACENORMAL %d\t0.0000\t1.0000\t0.0000", k);
            for (int c = 0; c < 3; ++c)
                line(out, "\t\t\t\t*MESH_VERTEXNORMAL %d\t0.0000\t1.0000\t0.0000", k % side);
        }
        line(out, "\t\t}\n\t}\n\t*MATERIAL_REF 0\n}");
    }
    return out;
}
