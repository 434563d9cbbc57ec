// JPEG pictures through libjpeg. libjpeg reports fatal errors by calling a handler that must
// not return; ours jumps back out of the decoding call. The functions holding the jump
// buffer keep only plain C data, so the jump skips no destructor.
#include <csetjmp>
#include <cstdio>

#include <jerror.h>
#include <jpeglib.h>

#include "gfx/picture_formats.hpp"

namespace tav::detail {

namespace {

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

[[noreturn]] void on_jpeg_error(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<JpegError*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

// Warnings are silent, except running out of data: a truncated picture is refused.
void on_jpeg_message(j_common_ptr cinfo, int level) {
    if (level < 0 && cinfo->err->msg_code == JWRN_JPEG_EOF) on_jpeg_error(cinfo);
}

void on_jpeg_output(j_common_ptr) {}

// Sends `cinfo`'s errors to `err` (a jump to err.jump, which the caller sets) and silences its messages.
void use_error_handler(jpeg_decompress_struct& cinfo, JpegError& err) {
    cinfo.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = on_jpeg_error;
    err.mgr.emit_message = on_jpeg_message;
    err.mgr.output_message = on_jpeg_output;
}

// Creates the decompressor over the bytes and reads the header; an error jumps to the caller's
// setjmp, whose frame is still there.
void open_jpeg(jpeg_decompress_struct& cinfo, const std::uint8_t* data, unsigned long size) {
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
}

// Reads the header and reports the image size; false on any error.
bool read_jpeg_size(const std::uint8_t* data, unsigned long size, unsigned* width, unsigned* height) {
    jpeg_decompress_struct cinfo;
    JpegError err;
    use_error_handler(cinfo, err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    open_jpeg(cinfo, data, size);
    *width = cinfo.image_width;
    *height = cinfo.image_height;
    jpeg_destroy_decompress(&cinfo);
    return true;
}

// Decodes into `out`, which holds exactly width x height pixels as the header said; false on
// any error or when the stream's size differs.
bool decode_jpeg_into(const std::uint8_t* data, unsigned long size, std::uint32_t* out, unsigned width,
                      unsigned height) {
    jpeg_decompress_struct cinfo;
    JpegError err;
    use_error_handler(cinfo, err);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    open_jpeg(cinfo, data, size);
    if (cinfo.jpeg_color_space == JCS_GRAYSCALE)
        cinfo.out_color_space = JCS_GRAYSCALE;
    else if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK)
        cinfo.out_color_space = JCS_CMYK;
    else
        cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_width != width || cinfo.output_height != height) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    const int comps = cinfo.output_components;
    JSAMPARRAY line =
        (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE, width * JDIMENSION(comps), 1);
    while (cinfo.output_scanline < cinfo.output_height) {
        const unsigned y = cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, line, 1);
        const JSAMPLE* s = line[0];
        std::uint32_t* d = out + std::size_t(y) * width;
        for (unsigned x = 0; x < width; ++x) {
            std::uint32_t r, g, b;
            if (comps == 1) {
                r = g = b = s[x];
            } else if (comps == 4) {
                // Adobe writes CMYK inverted: each byte is already 255 minus the ink.
                const unsigned k = s[4 * x + 3];
                r = s[4 * x] * k / 255;
                g = s[4 * x + 1] * k / 255;
                b = s[4 * x + 2] * k / 255;
            } else {
                r = s[3 * x];
                g = s[3 * x + 1];
                b = s[3 * x + 2];
            }
            d[x] = 0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

std::optional<Size> jpeg_size(std::span<const std::uint8_t> bytes) {
    unsigned w = 0, h = 0;
    if (!read_jpeg_size(bytes.data(), static_cast<unsigned long>(bytes.size()), &w, &h)) return std::nullopt;
    if (!pixel_count_allowed(w, h)) return std::nullopt;
    return Size{int(w), int(h)};
}

std::optional<Bitmap> decode_jpeg(std::span<const std::uint8_t> bytes) {
    const auto size = jpeg_size(bytes);
    if (!size) return std::nullopt;
    Bitmap out(size->width, size->height, 0);
    if (!decode_jpeg_into(bytes.data(), static_cast<unsigned long>(bytes.size()), out.pixels().data(),
                          unsigned(size->width), unsigned(size->height)))
        return std::nullopt;
    return out;
}

} // namespace tav::detail
