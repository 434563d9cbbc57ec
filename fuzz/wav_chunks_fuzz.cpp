// The RIFF chunk walk over arbitrary bytes: it finds its chunks inside the input or nothing.

#include <cstddef>
#include <cstdint>
#include <span>

#include "audio/wav_chunks.hpp"
#include "fuzz_check.hpp"

namespace {

bool inside(std::span<const std::uint8_t> part, std::span<const std::uint8_t> whole) {
    return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const auto chunks = tav::walk_wav_chunks(bytes);
    if (!chunks) return 0;
    FUZZ_CHECK(size >= tav::kMinWavBytes);
    FUZZ_CHECK(tav::looks_like_wav(bytes));
    FUZZ_CHECK(!chunks->data.empty());
    // Both chunk bodies lie after the 12-byte RIFF header and inside the input.
    FUZZ_CHECK(inside(chunks->format, bytes.subspan(12)));
    FUZZ_CHECK(inside(chunks->data, bytes.subspan(12)));
    return 0;
}
