#include "reports/JpegWriter.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include "platform/Files.h"

namespace reports {
namespace {

// libjpeg's default error handler ends the process; this one jumps back to the
// encoder, which then throws from C++ code (never through the C library).
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void onJpegError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

extern "C" void onJpegWarning(j_common_ptr, int) {}

struct Encoder {
    jpeg_compress_struct cinfo{};
    ErrorManager err{};
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    ~Encoder() {
        jpeg_destroy_compress(&cinfo);
        std::free(out);
    }
};

// Kept out of EncodeJpeg so that no C++ object with a destructor lives in the
// frame that setjmp returns into.
bool encode(Encoder& e, const std::uint8_t* pixels, int width, int height, std::size_t stride,
            PixelLayout layout) {
    e.cinfo.err = jpeg_std_error(&e.err.base);
    e.err.base.error_exit = onJpegError;
    e.err.base.emit_message = onJpegWarning;
    e.err.message[0] = '\0';
    if (setjmp(e.err.jump)) return false;
    jpeg_create_compress(&e.cinfo);
    jpeg_mem_dest(&e.cinfo, &e.out, &e.outSize);
    e.cinfo.image_width = JDIMENSION(width);
    e.cinfo.image_height = JDIMENSION(height);
    if (layout == PixelLayout::Rgb) {
        e.cinfo.input_components = 3;
        e.cinfo.in_color_space = JCS_RGB;
    } else {
        e.cinfo.input_components = 4;
        e.cinfo.in_color_space = JCS_EXT_BGRX;
    }
    jpeg_set_defaults(&e.cinfo);
    jpeg_start_compress(&e.cinfo, TRUE);
    while (e.cinfo.next_scanline < e.cinfo.image_height) {
        // libjpeg only reads the rows; its interface is not const-correct.
        JSAMPROW row = const_cast<JSAMPROW>(pixels + std::size_t(e.cinfo.next_scanline) * stride);
        jpeg_write_scanlines(&e.cinfo, &row, 1);
    }
    jpeg_finish_compress(&e.cinfo);
    return true;
}

}  // namespace

std::string EncodeJpeg(const std::uint8_t* pixels, int width, int height, std::size_t stride,
                       PixelLayout layout) {
    std::size_t pixelBytes = layout == PixelLayout::Rgb ? 3 : 4;
    if (pixels == nullptr || width <= 0 || height <= 0 || width > 65500 || height > 65500 ||
        stride < std::size_t(width) * pixelBytes)
        throw JpegError("JPEG画像を作成できません（画像の大きさが不正です）");
    Encoder e;
    if (!encode(e, pixels, width, height, stride, layout))
        throw JpegError(std::string("JPEG画像を作成できません: ") + e.err.message);
    return std::string(reinterpret_cast<const char*>(e.out), e.outSize);
}

void WriteJpeg(const std::filesystem::path& file, const std::uint8_t* pixels, int width, int height,
               std::size_t stride, PixelLayout layout) {
    platform::writeFileAtomic(file, EncodeJpeg(pixels, width, height, stride, layout));
}

void WriteJpeg(const platform::Folder& folder, const std::string& name, const std::uint8_t* pixels,
               int width, int height, std::size_t stride, PixelLayout layout) {
    platform::writeFileAtomic(folder, name, EncodeJpeg(pixels, width, height, stride, layout));
}

}  // namespace reports
