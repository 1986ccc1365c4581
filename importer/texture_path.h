// Where on this machine the image a PLY file's TextureFile comment names is.
#pragma once

#include "hostsdk/max.h"

// Resolves a texture name from a PLY file to an existing local file, or to
// nothing (false). A name is data, never a place to go: a relative (or
// drive-relative) name is looked up beside the PLY file, each "<this>"
// standing for its base name; an absolute local name is used when its file
// exists, else its file name is looked up beside the PLY file; a share,
// namespace or stream name is never touched, only its file name is looked
// up beside the PLY file. Every path looked up passes IsPlainLocalPath
// whole, so device names and over-long paths resolve to nothing, and a PLY
// file opened through a share finds no textures. Costs one pass over the
// name (bounded by kMaxLocalPath) and at most two existence checks.
bool ResolveTexturePath(const char* plyPath, const char* name, CStr* path);
