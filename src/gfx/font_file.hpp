#pragma once
// A font file read at offsets or mapped whole: the only file access the font code needs, with a
// POSIX and a Windows implementation chosen by the build.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace tav {

class FontFile {
public:
    // Opens `path` (UTF-8) for reading; is_open() tells whether it worked.
    explicit FontFile(const std::string& path);
    ~FontFile() { close(); }
    FontFile(const FontFile&) = delete;
    FontFile& operator=(const FontFile&) = delete;

    // True when the file is open and not empty.
    bool is_open() const { return handle_ != kNoHandle && size_ > 0; }
    std::uint64_t size() const { return size_; }
    // Reads up to `count` bytes at `offset` into `buffer`; returns how many were read (fewer at the
    // end of the file or after a read error). Does not move any file position: safe to call
    // from several threads.
    std::size_t read_at(std::uint64_t offset, unsigned char* buffer, std::size_t count) const;
    // The whole file mapped read-only, valid until close(); empty when it cannot be mapped.
    std::span<const unsigned char> map();
    // Unmaps and closes; safe to call twice.
    void close();

private:
    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t handle_ = kNoHandle; // a file descriptor or a Windows file handle
    std::intptr_t mapping_ = 0;        // the Windows mapping object while mapped
    std::uint64_t size_ = 0;
    std::span<const unsigned char> mapped_;
};

} // namespace tav
