#include "hostapp/optionfields.h"

const OptionField kOptionFields[kOptionFieldCount] = {
    {"replaceScene", 1016, false}, {"flipZY", 1009, false},          {"centerPivot", 1012, false},
    {"scale", 1010, true},         {"generateNormals", 1005, false}, {"vertexNormals", 1001, false},
    {"vertexColors", 1002, false}, {"textureCoords", 1003, false},   {"materials", 1004, false},
};

const OptionField* FindOptionField(const std::string& name) {
    for (const OptionField& f : kOptionFields)
        if (name == f.name) return &f;
    return nullptr;
}
