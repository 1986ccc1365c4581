// The scene as the viewport draws it: every triangle of every mesh node in
// world space, coloured by its vertex colours where the mesh has them, else
// by its material's diffuse colour.
#pragma once

#include <vector>

#include "hostapp/renderer.h"
#include "hostsdk/standin.h"

// The colour of a node without material (the host's default object colour).
extern const Rgb kDefaultObjectColour;

std::vector<RenderTriangle> SceneTriangles(const HostScene& scene);
