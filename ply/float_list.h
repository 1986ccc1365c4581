// The items of one face's texcoord list, read as float.
#pragma once

#include "ply/grow_only_list.h"

class FloatList : public GrowOnlyList<float> {};
