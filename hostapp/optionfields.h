// The nine import options as the options dialog shows them: the name a
// --set option uses and the dialog control that holds the value.
#pragma once

#include <string>

struct OptionField {
    const char* name;  // the ImportOptions member
    int controlId;     // check box, or the scale spinner
    bool isNumber;     // the scale; every other field is a check box
};

const int kOptionFieldCount = 9;
extern const OptionField kOptionFields[kOptionFieldCount];

// Controls of the options dialog that are not options.
const int kImportButtonId = 1025;
const int kNameFieldId = 1018;

// The field of that name (exact spelling), or null.
const OptionField* FindOptionField(const std::string& name);
