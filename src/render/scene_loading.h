#pragma once

// A Scene's images decoded, and GL textures for its materials. Decoding
// needs no GL, so the game's advance step reads the scenes of a level
// (world/scene_files.h); the drawing makes their textures before it draws,
// and deletes the textures of the scenes that went.

#include "render/texture_registry.h"
#include "scene/scene.h"

#include <set>
#include <string>
#include <vector>

// Decodes every material's image into the registry (once a name for the
// process).
void decodeSceneImages(Scene& scene);

// The images of the Scene's materials, decoded in material order without
// touching the registry or reporting anything: safe on a worker thread.
// `decodedNames` holds the names decoded for earlier Scenes of the same
// run, which are not decoded again; this call adds its own.
std::vector<DecodedTexture> decodeSceneImagesAside(const Scene& scene, std::set<std::string>* decodedNames);

// Puts images decoded aside into the registry in their order, reporting the
// failed ones, as decodeSceneImages would have; a name the registry holds
// already is left as it is. Main thread only.
void addDecodedImages(std::vector<DecodedTexture> images);

// Every material whose image is decoded gets a texture of its own, even
// where two name the same file; the nodes' copies take the id of their
// material's. Then each node's triangles are compiled into a display list
// (makeSceneDrawLists). Once a Scene: later calls change nothing. When the
// Scene goes its textures and lists are retired, to be deleted by
// deleteRetiredTextures.
void uploadSceneTextures(Scene& scene);

// A display list a node holding the node's triangles as the drawing sends
// them (mesh_drawing.cpp), so that a static Scene goes to GL once: Mesa
// keeps a list's vertices in a buffer and sends the corners that the faces
// share once. Only where TextureUploads says there is a GL context; once a
// Scene.
void makeSceneDrawLists(Scene& scene);

// Frees the Scene's own copy of its triangles (vertices and faces) once
// every node's are in a display list: the drawing then needs only the lists
// and the nodes' boxes, and Mesa holds the triangles in the lists. A Scene
// without lists keeps its copy. Not for a Scene that a collider tests
// against, which reads the triangles themselves.
void dropDrawnTriangles(Scene& scene);

// Deletes the textures and display lists of the Scenes that went since the
// last call. The drawing calls it every frame (and the game at its end): a
// Scene can go in the advance step, which makes no GL call.
void deleteRetiredTextures();
