// GBK through iconv, as glibc's GBK table has it.
#include <iconv.h>

#include <cerrno>

#include "core/gbk.hpp"
#include "core/gbk_bytes.hpp"

namespace tav {
namespace {

constexpr char kReplacement = '?';
constexpr std::size_t kChunkSize = 256;

// One iconv descriptor for the life of its owner.
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    // Converts all of `in`, putting one replacement byte for every character that cannot be read
    // or written; `skip` tells how many bytes such a character spans.
    std::string convert(std::string_view in, std::size_t (*skip)(std::string_view rest)) {
        std::string out;
        if (!valid()) {
            out.assign(in.size(), kReplacement);
            return out;
        }
        iconv(cd_, nullptr, nullptr, nullptr, nullptr); // back to the initial state
        char* src = const_cast<char*>(in.data());       // iconv does not write through it
        std::size_t src_left = in.size();
        char chunk[kChunkSize];
        while (src_left > 0) {
            char* dst = chunk;
            std::size_t dst_left = sizeof chunk;
            const std::size_t result = iconv(cd_, &src, &src_left, &dst, &dst_left);
            out.append(chunk, static_cast<std::size_t>(dst - chunk));
            if (result != static_cast<std::size_t>(-1) || errno == E2BIG) {
                continue;
            }
            out += kReplacement;
            if (errno == EINVAL) { // an incomplete character at the end
                break;
            }
            const std::size_t n = skip(std::string_view(src, src_left)); // EILSEQ
            src += n;
            src_left -= n;
        }
        return out;
    }

private:
    iconv_t cd_;
};

} // namespace

std::string utf8_to_gbk(std::string_view utf8) {
    thread_local Converter converter("GBK", "UTF-8");
    return converter.convert(utf8, utf8_character_length);
}

std::string gbk_to_utf8(std::string_view gbk) {
    thread_local Converter converter("UTF-8", "GBK");
    return converter.convert(gbk, gbk_character_length);
}

} // namespace tav
