// The scene as the viewport draws it: every face of every mesh node in world
// space, textured where its material has a bitmap map that can be decoded
// and the mesh has texture coordinates, else coloured by its vertex colours
// where the mesh has them, else by its material's diffuse colour; and the
// vertices of meshes without faces as points.
#pragma once

#include <functional>
#include <string>

#include "hostapp/viewer/drawing.h"
#include "hostsdk/standin.h"

// The colour of a node without material (the host's default object colour).
extern const Rgb kDefaultObjectColour;

// Decodes a picture file into image; false when it cannot.
typedef std::function<bool(const std::string& path, Image& image)> ImageLoader;

// One DrawMesh per mesh node, with only the vertices its faces use; the
// faces' visible-edge flags are the mesh's. Each picture file is decoded
// once; without a loader no face is textured.
SceneDrawing BuildSceneDrawing(const HostScene& scene, const ImageLoader& load = nullptr);

// The mesh of a node when its object is a triangle object, else null.
Mesh* NodeMesh(HostNode* node);
