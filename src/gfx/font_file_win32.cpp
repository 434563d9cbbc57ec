// Font files through Windows file handles: ReadFile at an offset, a read-only file mapping.
#include <windows.h>

#include <string>

#include "gfx/font_file.hpp"

namespace tav {
namespace {

std::wstring wide_path(const std::string& utf8) {
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring wide(std::size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), wide.data(), n);
    return wide;
}

HANDLE as_handle(std::intptr_t h) { return reinterpret_cast<HANDLE>(h); }

} // namespace

FontFile::FontFile(const std::string& path) {
    HANDLE file = CreateFileW(wide_path(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_RANDOM_ACCESS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return;
    handle_ = reinterpret_cast<std::intptr_t>(file);
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file, &size) && size.QuadPart > 0) size_ = std::uint64_t(size.QuadPart);
}

// An OVERLAPPED offset on a synchronous handle reads at that offset; the handle's own position
// moves, but nothing here uses it, so concurrent reads stay independent.
std::size_t FontFile::read_at(std::uint64_t offset, unsigned char* buffer, std::size_t count) const {
    std::size_t done = 0;
    while (done < count) {
        OVERLAPPED at{};
        const std::uint64_t where = offset + done;
        at.Offset = DWORD(where & 0xFFFFFFFFu);
        at.OffsetHigh = DWORD(where >> 32);
        const std::size_t left = count - done;
        const DWORD ask = left > 0x40000000u ? 0x40000000u : DWORD(left);
        DWORD got = 0;
        if (!ReadFile(as_handle(handle_), buffer + done, ask, &got, &at) || got == 0) break;
        done += got;
    }
    return done;
}

std::span<const unsigned char> FontFile::map() {
    if (!mapped_.empty() || !is_open()) return mapped_;
    HANDLE mapping = CreateFileMappingW(as_handle(handle_), nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (mapping == nullptr) return mapped_;
    const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    if (view == nullptr) {
        CloseHandle(mapping);
        return mapped_;
    }
    mapping_ = reinterpret_cast<std::intptr_t>(mapping);
    mapped_ = {static_cast<const unsigned char*>(view), std::size_t(size_)};
    return mapped_;
}

void FontFile::close() {
    if (!mapped_.empty()) UnmapViewOfFile(mapped_.data());
    mapped_ = {};
    if (mapping_ != 0) CloseHandle(as_handle(mapping_));
    mapping_ = 0;
    if (handle_ != kNoHandle) CloseHandle(as_handle(handle_));
    handle_ = kNoHandle;
}

} // namespace tav
