// The reader's messages, exactly as the user sees them.
#pragma once

const char* const kMsgFileNotFound = "file not found";
const char* const kMsgNotPly = "this is not a ply-file";
const char* const kMsgHeaderError = "error in ply-header";
const char* const kMsgUnknownFormat = "unknown ply-format";
const char* const kMsgLinefeeds =
    "binary ply contains linefeeds !!\n\nyou extracted a *.ply.gz with: \"TAR file smart CR/LF "
    "conversion\" turned on ?\n\ncheck your unzipper...";
const char* const kMsgSeekEndOfFile = "reached end-of-file while seraching for vertices";
const char* const kMsgFileReadError = "file read error";
const char* const kMsgVertexReadError = "Vertex-Reader: file read error";
const char* const kMsgPropertyCount = "number of properties (%d) != number of read data (%d)";
const char* const kMsgVertexNotScalar = "vertex: not a scalar type";
const char* const kMsgFaceReadError = "Face-Reader: file read error";
const char* const kMsgIndicesNotList = "vertex_indices: not a list type";
const char* const kMsgMaterialReadError = "Material-Reader: file read error";
const char* const kMsgMaterialNotScalar = "material: not a scalar type";
const char* const kMsgNoMemoryRangeGrid = "not enough memory for a range grid of %d columns";
