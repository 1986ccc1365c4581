// What an import tells the user: its messages, shown only with prompts,
// and the list of texture images it could not find.
#include <cstring>

#include "importer/build_messages.h"
#include "importer/dazazu.h"
#include "importer/dialogs.h"
#include "importer/platform.h"

int DazAzu::ReportError(const char* text, unsigned style) {
    if (showPrompts && text) ShowMessage(hostInterface->GetMAXHWnd(), text, style);
    return 0;
}

// One message with a count, when the count is not 0. The second number, in
// the one message that has it, is the most materials a face can name.
void DazAzu::ReportCount(const char* format, unsigned count) {
    if (count == 0) return;
    CStr message;
    message.printf(format, static_cast<int>(count), static_cast<int>(kMaxMaterialRecords));
    ReportError(message.data(), 0);
}

void DazAzu::ReportMissingTextures() {
    if (missingTextures == 0) return;
    CStr message;
    message.printf(kMsgTexturesNotFound, static_cast<int>(missingTextures), missingTextureNames);
    ReportError(message.data(), 0);
}

namespace {

// The list keeps the names in order up to kMissingTextureListChars: a file
// may name thousands, or one name of many kilobytes, and the message must
// stay readable. Cut by characters, never inside one; three full stops show
// the cut in every code page.
void AppendToCutList(char* list, unsigned count, const char* name) {
    size_t length = std::strlen(list);
    if (length > DazAzu::kMissingTextureListChars) return;  // a cut list is longer
    const char* separator = count > 1 ? ", " : "";
    for (const char* text : {separator, name}) {
        for (const char* p = text; *p;) {
            const char* next = NextChar(p);
            const size_t n = static_cast<size_t>(next - p);
            if (length + n > DazAzu::kMissingTextureListChars) {
                std::memcpy(list + length, "...", 4);
                return;
            }
            std::memcpy(list + length, p, n);
            length += n;
            p = next;
        }
    }
    list[length] = '\0';
}

}  // namespace

void DazAzu::NoteMissingTexture(const char* name) {
    AppendToCutList(missingTextureNames, ++missingTextures, name);
}

void DazAzu::NoteLeftOutProperty(const char* name) {
    AppendToCutList(leftOutPropertyNames, ++leftOutProperties, name);
}

void DazAzu::ReportLeftOutProperties() {
    if (leftOutProperties == 0) return;
    CStr message;
    message.printf(kMsgPropertiesLeftOut, static_cast<int>(leftOutProperties), leftOutPropertyNames);
    ReportError(message.data(), 0);
}
