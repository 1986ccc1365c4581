// Where on this machine the image a PLY file's TextureFile comment names is.
#pragma once

#include <cstddef>

#include "hostsdk/max.h"

// The longest path the host's file functions take, without its terminator.
const size_t kMaxTexturePath = 259;

// Resolves a texture name from a PLY file to an existing local file, or to
// nothing (false). A name is data, never a place to go: a relative name is
// looked up beside the PLY file, each "<this>" standing for its base name;
// an absolute local name is used when its file exists, else its file name
// is looked up beside the PLY file; a share, device, namespace or stream
// name is never touched, only its file name is looked up beside the PLY
// file. Device file names and paths longer than kMaxTexturePath resolve to
// nothing. Costs one pass over the name (bounded by kMaxTexturePath) and at
// most two existence checks of local paths.
bool ResolveTexturePath(const char* plyPath, const char* name, CStr* path);
