#include "ply/byte_source.h"

#include <cstring>

namespace {

// 64-bit positioning of a C stream: the plain fseek/ftell take a 32-bit long
// on Windows.
bool SeekStream(std::FILE* file, uint64_t offset, int origin) {
#if defined(_WIN32)
    return fseeko64(file, static_cast<off64_t>(offset), origin) == 0;
#else
    return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

int64_t TellStream(std::FILE* file) {
#if defined(_WIN32)
    return static_cast<int64_t>(ftello64(file));
#else
    return static_cast<int64_t>(ftello(file));
#endif
}

}  // namespace

MemorySource::MemorySource(const void* data, size_t size)
    : data_(static_cast<const unsigned char*>(data)), size_(size) {}

size_t MemorySource::Read(void* destination, size_t size) {
    const size_t available = size_ - position_;
    const size_t count = size < available ? size : available;
    if (count > 0) std::memcpy(destination, data_ + position_, count);
    position_ += count;
    return count;
}

bool MemorySource::Seek(uint64_t offset) {
    if (offset > size_) return false;
    position_ = static_cast<size_t>(offset);
    return true;
}

std::unique_ptr<FileSource> FileSource::Open(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return nullptr;
    std::setvbuf(file, nullptr, _IONBF, 0);
    int64_t size = -1;
    if (SeekStream(file, 0, SEEK_END)) size = TellStream(file);
    if (size < 0 || !SeekStream(file, 0, SEEK_SET)) {
        std::fclose(file);
        return nullptr;
    }
    return std::unique_ptr<FileSource>(new FileSource(file, static_cast<uint64_t>(size)));
}

FileSource::~FileSource() { std::fclose(file_); }

size_t FileSource::Read(void* destination, size_t size) {
    size_t total = 0;
    char* out = static_cast<char*>(destination);
    while (total < size) {
        const size_t count = std::fread(out + total, 1, size - total, file_);
        if (count == 0) break;
        total += count;
    }
    return total;
}

bool FileSource::Seek(uint64_t offset) {
    if (offset > size_) return false;
    std::clearerr(file_);
    return SeekStream(file_, offset, SEEK_SET);
}
