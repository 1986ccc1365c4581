// The seam through which the reader gets its bytes: a file for Open(path),
// memory for tests, fuzzing and benchmarks. Offsets are 64-bit everywhere.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>

class ByteSource {
  public:
    virtual ~ByteSource() = default;

    // Copies up to size bytes from the current position and moves past them;
    // returns the number copied, less than size only at the end of the data.
    virtual size_t Read(void* destination, size_t size) = 0;

    // Moves to an absolute offset (at most Size()); false when that fails.
    virtual bool Seek(uint64_t offset) = 0;

    // Total number of bytes.
    virtual uint64_t Size() const = 0;
};

// A view of bytes owned by the caller, who keeps them alive while it is read.
class MemorySource : public ByteSource {
  public:
    MemorySource(const void* data, size_t size);
    size_t Read(void* destination, size_t size) override;
    bool Seek(uint64_t offset) override;
    uint64_t Size() const override { return size_; }

  private:
    const unsigned char* data_;
    size_t size_;
    size_t position_ = 0;
};

// A file opened for reading in binary mode. The reader does its own
// buffering, so the stream's buffer is switched off.
class FileSource : public ByteSource {
  public:
    // Null when the file cannot be opened.
    static std::unique_ptr<FileSource> Open(const char* path);
    ~FileSource() override;

    size_t Read(void* destination, size_t size) override;
    bool Seek(uint64_t offset) override;
    uint64_t Size() const override { return size_; }

  private:
    FileSource(std::FILE* file, uint64_t size) : file_(file), size_(size) {}
    std::FILE* file_;
    uint64_t size_;
};
