// The import's own messages, exactly as the user sees them (the reader's are
// in ply/ply_messages.h, the rest in the string table).
#pragma once

const char* const kMsgFaceDataMismatch = "the face data does not match the header";
const char* const kMsgNoMemoryMaterials = "not enough memory to create %d materials";
const char* const kMsgNoMemoryValues = "not enough memory to keep %d values of a property";
const char* const kMsgNoVertices = "the file holds no vertices: there is nothing to import";
// After a successful import: what was changed or left out.
const char* const kMsgVerticesOutOfRange =
    "%d vertices have coordinates out of range and were moved to the centre";
const char* const kMsgMaterialsLeftOut =
    "%d materials were left out: faces can refer to the first %d only";
const char* const kMsgFacesSkipped = "%d faces refer to missing vertices and were skipped";
const char* const kMsgTexCoordsMismatched =
    "%d faces have texture coordinates that do not match their corners and were given (0, 0)";
const char* const kMsgTexturesNotFound = "%d texture images were not found: %s";
const char* const kMsgPropertiesLeftOut =
    "%d properties were left out (lists, or values past the 97 channels a mesh keeps): %s";
