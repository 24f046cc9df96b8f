#pragma once

// Texture images decoded once per name for the whole process, and the GL
// textures made from them. A material names its image as the exporting
// machine saw it (C:\art\grass.bmp); the game finds grass.bmp in the folder
// Textures below the current directory.

#include "math/matrix4.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class Scene;

// R, G, B, A bytes, rows bottom-up without gaps: the first row in memory is
// the bottom of the picture, where texture coordinate v is 0.
struct TextureImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint8_t> pixels;
    // The mipmap levels below it, halved each time down to one pixel, the
    // same bytes gluBuild2DMipmaps makes (makeMipmaps); empty where GLU
    // makes them at upload (sides not powers of two, or a single pixel).
    std::vector<std::vector<uint8_t>> mipmaps;
};

// Fills image.mipmaps as gluBuild2DMipmaps makes the levels from an image
// whose sides are powers of two: each pixel the mean of the four below it,
// rounded; where a side is down to one pixel, the mean of two, cut. Leaves
// them empty for other sizes. Needs no GL: the loading's worker makes them.
void makeMipmaps(TextureImage& image);

// An image file decoded for the registry, or what went wrong with it.
struct DecodedTexture {
    std::string name;
    bool decoded = false;
    TextureImage image;
    // Where a file that is missing or does not decode is reported, and why.
    std::string damagedPlace;
    std::string problem;
};

// Finds and decodes `fileName` the way TextureRegistry::load does, touching
// nothing shared: safe on any thread (the decoding itself takes one image at
// a time).
DecodedTexture decodeTexture(const std::string& fileName);

class TextureRegistry {
  public:
    // Decodes `fileName` and stores it under `key`, unless `fileName` is
    // already present. True when an image for the name is present
    // afterwards; false for an empty name, a file found at neither place or
    // one that does not decode.
    bool load(std::string key, std::string fileName);

    // Stores a decoded image under its name, unless one is present there;
    // reports a failed one as a damaged file. True when it was decoded.
    bool add(DecodedTexture decoded);

    // Forgets the image of that name, if any.
    void forget(const std::string& name) { images_.erase(name); }

    // Forgets every image: the data check reads each file anew.
    void clear() { images_.clear(); }

    // The stored image, or null.
    const TextureImage* find(const std::string& name) const;

    // Draws every node of the Scene with its material under the current
    // modelview (mesh_drawing.cpp). Reads nothing of the registry.
    static void draw(const Scene* scene);
    // The same with the nodes in a pose of their own: pose[i] in place of
    // node i's worldMatrix (nodes beyond the pose keep theirs).
    static void draw(const Scene* scene, const std::vector<Matrix4>& pose);

  private:
    std::map<std::string, TextureImage> images_;
};

// The one registry of the process.
extern TextureRegistry GameTextures;

// False only where no GL context exists (the data check): images are
// decoded and kept, but no GL texture is made.
extern bool TextureUploads;

// Pixels of the viewport, counted from its lower left corner, both ends
// included.
struct PixelRect {
    int left = 0, bottom = 0, right = -1, top = -1;
};

// The projection times the modelview in force; with `viewport`, also the
// viewport (x, y, width, height).
Matrix4 currentClip(int viewport[4] = nullptr);

// glClear of `mask` for a screen that fills the picture. Where the scissor
// is the viewport's (the picture's), the scissor is left off for the clear:
// Mesa clears part of a framebuffer the slow way, drawing a quad over it,
// and the whole of it tile by tile. The bars beside the picture are cleared
// along, and the frame paints them black at its end.
void clearPicture(unsigned int mask);

// Runs `draw` with every pixel scissored away (the scissor box made empty
// at its corner, then put back): GL meets the drawing's states, and Mesa
// compiles its code for them, but no pixel changes.
void drawScissoredAway(void (*draw)());

// Adds to `rects` the pixels that drawing the Scene now (with the
// projection, modelview and viewport in force) could touch: per node with
// triangles, the rectangle round the window positions of its box's corners
// and a pixel beyond, or the whole viewport where a corner lies at or behind
// the eye (mesh_drawing.cpp).
void addSceneRects(const Scene* scene, std::vector<PixelRect>& rects);

// While not Off, TextureRegistry::draw sends only the first node of each
// kind (lit or blended, textured or plain) of a Scene, of the opaque kinds
// only or of all: enough for GL to meet every combination of state the
// Scene's drawing has (the warm-up before a game's first frame,
// frame_loop.cpp).
enum class NodesOfEachKind { Off, FirstOpaque, First };
extern NodesOfEachKind DrawOneNodeOfEachKind;

// A new GL texture (mipmapped, repeating, trilinear) from the registry entry
// of `name`, left bound; 0, and no texture made, when there is no entry.
unsigned int uploadTexture(std::string name);

// Where a texture name is looked for: the name itself as a path, otherwise
// the part after the last backslash or slash under "Textures" in
// `currentDir`. Backslashes separate as slashes do, a path on a drive letter
// (E:\art\grass.bmp) is only looked for under Textures, and a missing file or
// directory is matched by one whose name differs only in letter case (the
// exact name first, else the first in sorted order). Empty when neither
// exists.
std::string resolveTexturePath(const std::string& fileName, const std::string& currentDir);
