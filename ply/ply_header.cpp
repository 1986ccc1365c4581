// Opening a PLY file: magic check, header grammar, element schema.
#include <cstdio>
#include <exception>

#include "ply/ply_messages.h"
#include "ply/ply_reader.h"

namespace {

enum HeaderKeyword {
    kKeywordFormat,
    kKeywordComment,
    kKeywordElement,
    kKeywordProperty,
    kKeywordObjInfo,
    kKeywordEndHeader,
    kKeywordOther,
};

const char* const kHeaderKeywords[] = {"format",   "comment",  "element",
                                       "property", "obj_info", "end_header"};

const char* const kFormatNames[] = {"ascii", "binary_big_endian", "binary_little_endian"};

HeaderKeyword KeywordOf(const std::vector<std::string_view>& tokens) {
    if (tokens.empty()) return kKeywordOther;
    for (int i = 0; i < kKeywordOther; ++i) {
        if (EqualsNoCase(tokens[0], kHeaderKeywords[i])) return HeaderKeyword(i);
    }
    return kKeywordOther;
}

// Token n (counted from 1); a token the line does not have reads as empty text.
std::string_view TokenAt(const std::vector<std::string_view>& tokens, size_t n) {
    return n >= 1 && n <= tokens.size() ? tokens[n - 1] : std::string_view();
}

// The header is read a line at a time and never kept whole, so its memory
// stays small whatever the file holds. A line longer than kMaxHeaderLine is
// not a real schema line: a "format", "element", "property" or "end_header"
// line that long is a header error, a comment or obj_info line keeps the
// tokens of its first kMaxHeaderLine bytes, and any other line is stepped over.
const size_t kMaxHeaderLine = size_t(64) << 10;

// Memory the schema may take, and apart from it the comments and obj_infos,
// each entry charged with its text and its records: comments and obj_infos
// beyond their share are dropped, an element or property beyond the schema's
// share is a header error.
const size_t kMaxHeaderShare = size_t(1) << 20;

// False when bytes more would exceed the share.
bool ChargeShare(size_t* used, size_t bytes) {
    if (bytes > kMaxHeaderShare - *used) return false;
    *used += bytes;
    return true;
}

size_t JoinedSize(const std::vector<std::string_view>& tokens) {
    size_t size = 0;
    for (std::string_view token : tokens) size += token.size() + 1;
    return size;
}

// A comment or obj_info line as kept: every token followed by one space.
std::string JoinTokens(const std::vector<std::string_view>& tokens) {
    std::string text;
    for (std::string_view token : tokens) {
        text.append(token.data(), token.size());
        text.push_back(' ');
    }
    return text;
}

}  // namespace

PlyReader::PlyReader() = default;

PlyReader::~PlyReader() { Reset(); }

void PlyReader::Reset() {
    buffer_.Detach();
    source_.reset();
    format_ = kPlyAscii;
    version_.clear();
    elements_.clear();
    layouts_.clear();
    comments_.clear();
    objInfos_.clear();
    textureFiles_.clear();
    elementStarts_.clear();
    SetPositionOffset(nullptr);
    dataStart_ = 0;
    currentElement_ = -1;
    fastVertices_ = nullptr;
    fastFaces_ = nullptr;
    lineVertices_ = nullptr;
    lineFaces_ = nullptr;
    linePosition_ = 0;
    lineBreak_ = '\n';
    fourthByteIsCR_ = false;
    schemaMemory_ = 0;
    textMemory_ = 0;
}

void PlyReader::Close() { Reset(); }

bool PlyReader::Open(const char* path) {
    Reset();
    std::unique_ptr<FileSource> file = path ? FileSource::Open(path) : nullptr;
    if (!file) {
        errorText_ = kMsgFileNotFound;
        return false;
    }
    return OpenSource(std::move(file));
}

bool PlyReader::Open(std::unique_ptr<ByteSource> source) {
    Reset();
    if (!source) {
        errorText_ = kMsgFileNotFound;
        return false;
    }
    return OpenSource(std::move(source));
}

bool PlyReader::OpenMemory(const void* data, size_t size) {
    return Open(std::unique_ptr<ByteSource>(new MemorySource(data, size)));
}

bool PlyReader::OpenSource(std::unique_ptr<ByteSource> source) {
    source_ = std::move(source);
    if (!buffer_.Attach(source_.get())) {
        // No memory for the block: the file cannot be read.
        errorText_ = kMsgFileReadError;
        source_.reset();
        return false;
    }
    bool opened;
    try {
        opened = ReadHeader();
        if (opened) PrepareLayouts();
    } catch (const std::exception&) {
        // A header too large for the memory there is.
        errorText_ = kMsgHeaderError;
        opened = false;
    }
    if (!opened) {
        buffer_.Detach();
        source_.reset();
    }
    return opened;
}

bool PlyReader::ReadHeader() {
    if (!CheckMagic()) {
        errorText_ = kMsgNotPly;
        return false;
    }
    const bool linesRead = ReadHeaderLines();
    // A binary file whose header lines end with CR LF went through a text-mode
    // conversion, which also damaged its data: say so, whatever else was found.
    if (format_ != kPlyAscii && fourthByteIsCR_ && lineBreak_ == '\n') {
        errorText_ = kMsgLinefeeds;
        return false;
    }
    return linesRead;
}

// The first token of the file must be "ply"; only that token is looked at,
// however long the first line is. The header lines follow the first line.
bool PlyReader::CheckMagic() {
    const unsigned char* start = buffer_.Peek(4);
    fourthByteIsCR_ = start && start[3] == '\r';
    if (!FirstTokenIsPly()) return false;
    lineBreak_ = FindLineBreak();
    buffer_.SeekTo(0);
    buffer_.SkipLines(lineBreak_, 1, nullptr);
    return true;
}

// The first line may start with blanks; the token must end with a delimiter
// or with the file.
bool PlyReader::FirstTokenIsPly() {
    buffer_.SeekTo(0);
    const unsigned char* p;
    while ((p = buffer_.Peek(1)) != nullptr && (*p == ' ' || *p == '\t')) buffer_.Advance(1);
    const size_t length = buffer_.Remaining() < 4 ? size_t(buffer_.Remaining()) : 4;
    const char* token = reinterpret_cast<const char*>(buffer_.Peek(length));
    return length >= 3 && token && EqualsNoCase(std::string_view(token, 3), "ply") &&
           (length == 3 || IsTokenDelimiter(token[3]));
}

// The header's line break is the first one of the file. Carriage returns
// followed by anything but a line feed make the carriage return the line
// break (some CAD exporters write that); a run of them before a line feed is
// text converted to CR LF once or more, a line-feed file.
char PlyReader::FindLineBreak() {
    buffer_.SeekTo(0);
    for (;;) {
        const unsigned char* p = buffer_.Cursor();
        const unsigned char* limit = buffer_.Limit();
        while (p < limit && *p != '\n' && *p != '\r') ++p;
        buffer_.SetCursor(p);
        if (p < limit) break;
        if (buffer_.Refill(1) == 0) return '\n';
    }
    const unsigned char* p;
    while ((p = buffer_.Peek(1)) != nullptr && *p == '\r') buffer_.Advance(1);
    return p && *p == '\n' ? '\n' : '\r';
}

// The header loop; true when "end_header" was reached without an error.
bool PlyReader::ReadHeaderLines() {
    const char* begin;
    const char* end;
    bool whole = true;
    while (buffer_.ReadLineUpTo(lineBreak_, kMaxHeaderLine, &begin, &end, &whole)) {
        Tokenize(std::string_view(begin, size_t(end - begin)), tokens_);
        const HeaderKeyword keyword = KeywordOf(tokens_);
        if (!whole && keyword != kKeywordComment && keyword != kKeywordObjInfo &&
            keyword != kKeywordOther) {
            errorText_ = kMsgHeaderError;
            return false;
        }
        switch (keyword) {
            case kKeywordFormat:
                if (!ReadFormatLine(tokens_)) return false;
                break;
            case kKeywordComment:
                KeepJoinedTokens(&comments_);
                KeepTextureFile();
                break;
            case kKeywordElement:
                if (!ReadElementLine(tokens_)) return false;
                break;
            case kKeywordProperty:
                if (!ReadPropertyLine(tokens_)) return false;
                break;
            case kKeywordObjInfo:
                KeepJoinedTokens(&objInfos_);
                break;
            case kKeywordEndHeader:
                dataStart_ = buffer_.Offset();
                return true;
            case kKeywordOther:
                break;
        }
        if (!whole) buffer_.SkipLines(lineBreak_, 1, nullptr);
    }
    // The file ended without "end_header": there is no data to read.
    errorText_ = kMsgHeaderError;
    return false;
}

// "comment TextureFile NAME": the name runs from its first token to the end
// of the last one, so blanks inside it stay (file names have them).
void PlyReader::KeepTextureFile() {
    if (tokens_.size() < 3 || !EqualsNoCase(tokens_[1], "TextureFile")) return;
    const char* name = tokens_[2].data();
    const std::string_view last = tokens_.back();
    const size_t size = size_t(last.data() + last.size() - name);
    if (ChargeShare(&textMemory_, sizeof(std::string) + size)) {
        textureFiles_.emplace_back(name, size);
    }
}

void PlyReader::KeepJoinedTokens(std::vector<std::string>* lines) {
    if (ChargeShare(&textMemory_, sizeof(std::string) + JoinedSize(tokens_))) {
        lines->push_back(JoinTokens(tokens_));
    }
}

bool PlyReader::ReadFormatLine(const std::vector<std::string_view>& tokens) {
    if (tokens.size() != 3) {
        errorText_ = kMsgHeaderError;
        return false;
    }
    for (int i = 0; i < 3; ++i) {
        if (EqualsNoCase(tokens[1], kFormatNames[i])) {
            format_ = PlyFormat(kPlyAscii + i);
            version_.assign(tokens[2].data(), tokens[2].size());
            return true;
        }
    }
    errorText_ = kMsgUnknownFormat;
    return false;
}

bool PlyReader::ReadElementLine(const std::vector<std::string_view>& tokens) {
    PlyElement element;
    const std::string_view name = TokenAt(tokens, 2);
    const std::string_view count = TokenAt(tokens, 3);
    // The element's record, layout and start.
    if (!ChargeShare(&schemaMemory_,
                     sizeof(PlyElement) + sizeof(RecordLayout) + sizeof(int64_t) + name.size())) {
        errorText_ = kMsgHeaderError;
        return false;
    }
    element.name.assign(name.data(), name.size());
    element.count = TextToInt32(count.data(), count.data() + count.size());
    if (element.count < 0) {
        // A negative number of records cannot be positioned over or read.
        errorText_ = kMsgHeaderError;
        return false;
    }
    elements_.push_back(std::move(element));
    return true;
}

bool PlyReader::ReadPropertyLine(const std::vector<std::string_view>& tokens) {
    if (elements_.empty()) return true;
    PlyElement& element = elements_.back();
    PlyProperty property;
    std::string_view name;
    if (EqualsNoCase(TokenAt(tokens, 2), "list")) {
        property.kind = kPropertyList;
        property.countType = LookupType(TokenAt(tokens, 3));
        property.valueType = LookupType(TokenAt(tokens, 4));
        name = TokenAt(tokens, 5);
    } else if (EqualsNoCase(TokenAt(tokens, 2), "string")) {
        property.kind = kPropertyString;
        property.countType = kPlyInt8;
        property.valueType = kPlyInt8;
        name = TokenAt(tokens, 3);
    } else {
        property.kind = kPropertyScalar;
        property.valueType = LookupType(TokenAt(tokens, 2));
        property.countType = kPlyInvalid;
        name = TokenAt(tokens, 3);
    }
    if (!ChargeShare(&schemaMemory_, sizeof(PlyProperty) + sizeof(VertexOp) + sizeof(ExtraOp) +
                                         sizeof(int) + 2 * sizeof(int8_t) + name.size())) {
        errorText_ = kMsgHeaderError;
        return false;
    }
    property.name.assign(name.data(), name.size());
    property.role = RoleOfName(name);
    element.recordSize += TypeSize(property.valueType) + TypeSize(property.countType);
    element.properties.push_back(std::move(property));
    return true;
}

void PlyReader::PrepareLayouts() {
    layouts_.clear();
    for (PlyElement& element : elements_) {
        const bool vertex = EqualsNoCase(element.name, kElementKindNames[kElementVertex]);
        const bool face = EqualsNoCase(element.name, kElementKindNames[kElementFace]);
        if (vertex) TakeDiffuseAsVertexColours(element);
        element.flags = FlagsOfElement(element);
        if (vertex || face) {
            element.extras = ExtraPropertiesOf(element, vertex ? kElementVertex : kElementFace);
        }
        layouts_.push_back(MakeRecordLayout(element));
    }
    elementStarts_.assign(elements_.size() + 1, -1);
    elementStarts_[0] = int64_t(dataStart_);
    linePosition_ = 0;
}

int32_t PlyReader::MaterialCount() const {
    const int index = FindElement(kElementMaterial);
    return index >= 0 ? elements_[size_t(index)].count : 0;
}

int PlyReader::FindElement(int kind) const {
    if (kind < 0 || kind >= kElementKindCount) return -1;
    for (size_t i = 0; i < elements_.size(); ++i) {
        if (EqualsNoCase(elements_[i].name, kElementKindNames[kind])) return int(i);
    }
    return -1;
}

const PlyElement* PlyReader::Element(int i) const {
    return i >= 0 && size_t(i) < elements_.size() ? &elements_[size_t(i)] : nullptr;
}

const PlyProperty* PlyReader::Property(int element, int property) const {
    const PlyElement* owner = Element(element);
    if (!owner || property < 0 || size_t(property) >= owner->properties.size()) return nullptr;
    return &owner->properties[size_t(property)];
}
