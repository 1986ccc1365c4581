#include "hostapp/optionfields.h"

const OptionField kOptionFields[kOptionFieldCount] = {
    {"replaceScene", 1016, false}, {"flipZY", 1009, false},          {"centerPivot", 1012, false},
    {"scale", 1010, true},         {"generateNormals", 1005, false}, {"vertexNormals", 1001, false},
    {"vertexColors", 1002, false}, {"textureCoords", 1003, false},   {"materials", 1004, false},
};

const OptionField kExportFields[kExportFieldCount] = {
    {"normals", 1105, false},    {"vertexColors", 1106, false}, {"textureCoords", 1107, false},
    {"mapChannels", 1108, false}, {"materials", 1109, false},   {"flipZY", 1110, false},
    {"scale", 1111, true},
};

namespace {

const OptionField* FindIn(const OptionField* fields, int count, const std::string& name) {
    for (int i = 0; i < count; ++i)
        if (name == fields[i].name) return &fields[i];
    return nullptr;
}

}  // namespace

const OptionField* FindOptionField(const std::string& name) {
    return FindIn(kOptionFields, kOptionFieldCount, name);
}

const OptionField* FindExportField(const std::string& name) {
    return FindIn(kExportFields, kExportFieldCount, name);
}

const char* ExportFormatName(int format) {
    static const char* const kNames[kExportFormatCount] = {"ascii", "binary_little_endian",
                                                           "binary_big_endian"};
    return format >= 0 && format < kExportFormatCount ? kNames[format] : "";
}
