// Font files through POSIX descriptors: pread() at offsets, mmap() for the whole file.
#include <cerrno>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "gfx/font_file.hpp"

namespace tav {

FontFile::FontFile(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return;
    handle_ = fd;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > 0) size_ = std::uint64_t(st.st_size);
}

std::size_t FontFile::read_at(std::uint64_t offset, unsigned char* buffer, std::size_t count) const {
    std::size_t done = 0;
    while (done < count) {
        const ssize_t n = ::pread(int(handle_), buffer + done, count - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += std::size_t(n);
    }
    return done;
}

std::span<const unsigned char> FontFile::map() {
    if (!mapped_.empty() || !is_open()) return mapped_;
    void* mapped = ::mmap(nullptr, std::size_t(size_), PROT_READ, MAP_PRIVATE, int(handle_), 0);
    if (mapped != MAP_FAILED) mapped_ = {static_cast<const unsigned char*>(mapped), std::size_t(size_)};
    return mapped_;
}

void FontFile::close() {
    if (!mapped_.empty()) ::munmap(const_cast<unsigned char*>(mapped_.data()), mapped_.size());
    mapped_ = {};
    if (handle_ != kNoHandle) ::close(int(handle_));
    handle_ = kNoHandle;
}

} // namespace tav
