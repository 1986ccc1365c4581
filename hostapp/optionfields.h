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

// The export options dialog's the same way (the format has its own
// command-line option and its combo box below).
const int kExportFieldCount = 7;
extern const OptionField kExportFields[kExportFieldCount];
const int kExportButtonId = 1101;
const int kExportFormatId = 1102;  // choices: ascii, then little- and big-endian binary
const OptionField* FindExportField(const std::string& name);

// The export formats by their header names, in the exporter's order.
const int kExportFormatCount = 3;
const char* ExportFormatName(int format);
