// The items of one face's vertex_indices list.
#pragma once

#include "ply/grow_only_list.h"

class IndexList : public GrowOnlyList<int32_t> {};
