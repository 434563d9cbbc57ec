#pragma once
// A failed allocation that knows how many bytes it asked for, so the fatal error can name them.

#include <cstddef>
#include <new>

namespace tav {

// Thrown where the program takes large blocks on a caller's behalf (pixels of framebuffers and
// scaled pictures); caught as std::bad_alloc by code that does not care about the size.
class AllocationFailure : public std::bad_alloc {
public:
    explicit AllocationFailure(std::size_t bytes) : bytes_(bytes) {}
    std::size_t bytes() const { return bytes_; }
    const char* what() const noexcept override { return "allocation failed"; }

private:
    std::size_t bytes_;
};

} // namespace tav
