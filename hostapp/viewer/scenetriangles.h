// The scene as the viewport draws it: every face of every mesh node in world
// space, textured where its material has a bitmap map that can be decoded
// and the mesh has texture coordinates, else coloured by its vertex colours
// where the mesh has them, else by its material's diffuse colour; and the
// vertices of meshes without faces as points.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "hostapp/viewer/drawing.h"
#include "hostsdk/standin.h"

// The colour of a node without material (the host's default object colour).
extern const Rgb kDefaultObjectColour;

// The decoded picture of a bitmap map's path, or null.
typedef std::function<std::shared_ptr<const Image>(const std::string& path)> ImageLookup;

// One DrawMesh per mesh node, with only the vertices its faces use; the
// faces' visible-edge flags are the mesh's. Each map path is looked up
// once; without a lookup no face is textured. With colourBy, the meshes
// whose node names a map channel so (MapChannel:N = NAME in its user
// properties) show that channel's values on the ramp instead.
SceneDrawing BuildSceneDrawing(const HostScene& scene, const ImageLookup& lookup = nullptr,
                               const std::string& colourBy = "");

// The map channel the node's user properties give this name; -1 for none.
int NamedChannel(INode* node, const std::string& name);
// The names of the channels the scene's nodes name, sorted, each once.
std::vector<std::string> ChannelNames(const HostScene& scene);

// The mesh of a node when its object is a triangle object, else null.
Mesh* NodeMesh(HostNode* node);
