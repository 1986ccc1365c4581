// Fuzz target: Open over arbitrary bytes, then the schema questions.
#include <cstddef>
#include <cstdint>

#include "ply/ply_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PlyReader reader;
    if (!reader.OpenMemory(data, size)) return 0;
    reader.MaterialCount();
    for (int i = 0; i < reader.NumElements(); ++i) {
        const PlyElement* element = reader.Element(i);
        for (size_t j = 0; j < element->properties.size(); ++j) reader.Property(i, int(j));
    }
    return 0;
}
