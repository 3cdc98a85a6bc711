#include "reports/JpegWriter.h"

#include <gtest/gtest.h>

#include <jpeglib.h>
#include <csetjmp>
#include <cstdio>
#include <vector>

#include "platform/Errors.h"
#include "support/TempDir.h"

namespace {

using reports::PixelLayout;
using testing_support::TempDir;

struct Decoded {
    bool ok = false;
    int width = 0, height = 0, components = 0;
    std::vector<unsigned char> rgb;
};

struct DecodeError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

extern "C" void decodeFailed(j_common_ptr cinfo) {
    std::longjmp(reinterpret_cast<DecodeError*>(cinfo->err)->jump, 1);
}

bool decodeInto(jpeg_decompress_struct& cinfo, DecodeError& err, const std::string& bytes,
                Decoded& d) {
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = decodeFailed;
    if (setjmp(err.jump)) return false;
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    d.width = int(cinfo.output_width);
    d.height = int(cinfo.output_height);
    d.components = cinfo.num_components;
    d.rgb.resize(std::size_t(d.width) * std::size_t(d.height) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = d.rgb.data() + std::size_t(cinfo.output_scanline) * std::size_t(d.width) * 3;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

Decoded decode(const std::string& bytes) {
    jpeg_decompress_struct cinfo{};
    DecodeError err{};
    Decoded d;
    d.ok = decodeInto(cinfo, err, bytes, d);
    jpeg_destroy_decompress(&cinfo);
    return d;
}

// A white image with a pure red square in its top-left quarter.
std::vector<std::uint8_t> testImage(int w, int h, PixelLayout layout, std::size_t stride) {
    std::vector<std::uint8_t> px(stride * std::size_t(h), 0xFF);
    for (int y = 0; y < h / 2; ++y)
        for (int x = 0; x < w / 2; ++x) {
            std::uint8_t* p = px.data() + std::size_t(y) * stride +
                              std::size_t(x) * (layout == PixelLayout::Rgb ? 3 : 4);
            if (layout == PixelLayout::Rgb) {
                p[0] = 0xFF, p[1] = 0, p[2] = 0;
            } else {
                p[0] = 0, p[1] = 0, p[2] = 0xFF;  // blue, green, red
            }
        }
    return px;
}

bool hasMarker(const std::string& b, unsigned char marker) {
    for (std::size_t i = 0; i + 1 < b.size(); ++i)
        if (static_cast<unsigned char>(b[i]) == 0xFF &&
            static_cast<unsigned char>(b[i + 1]) == marker)
            return true;
    return false;
}

TEST(JpegWriter, WritesABaselineFileThatDecodesToTheSameSizeAndColours) {
    struct Case {
        PixelLayout layout;
        std::size_t stride;  // padded rows must not shear the picture
    };
    for (Case c : {Case{PixelLayout::Rgb, 840 * 3}, Case{PixelLayout::Rgb, 840 * 3 + 5},
                   Case{PixelLayout::Bgrx, 840 * 4}}) {
        TempDir dir;
        auto px = testImage(840, 592, c.layout, c.stride);
        auto file = dir / "給与28-04[山田太郎].jpg";
        reports::WriteJpeg(file, px.data(), 840, 592, c.stride, c.layout);

        std::string bytes = testing_support::readText(file);
        ASSERT_GT(bytes.size(), 4u);
        EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
        EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xD8);  // SOI
        EXPECT_EQ(static_cast<unsigned char>(bytes[bytes.size() - 2]), 0xFF);
        EXPECT_EQ(static_cast<unsigned char>(bytes.back()), 0xD9);  // EOI
        EXPECT_TRUE(hasMarker(bytes, 0xC0)) << "baseline SOF0";
        EXPECT_FALSE(hasMarker(bytes, 0xC2)) << "not progressive";

        Decoded d = decode(bytes);
        ASSERT_TRUE(d.ok);
        EXPECT_EQ(d.width, 840);
        EXPECT_EQ(d.height, 592);
        EXPECT_EQ(d.components, 3);
        auto at = [&](int x, int y) { return &d.rgb[(std::size_t(y) * 840 + std::size_t(x)) * 3]; };
        const unsigned char* red = at(100, 100);
        EXPECT_GT(red[0], 200);
        EXPECT_LT(red[1], 60);
        EXPECT_LT(red[2], 60);
        const unsigned char* white = at(700, 500);
        EXPECT_GT(white[0], 240);
        EXPECT_GT(white[1], 240);
        EXPECT_GT(white[2], 240);
        // Nothing left beside the file.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    }
}

TEST(JpegWriter, FailuresLeaveAnExistingFileUntouchedAndNoOtherFile) {
    TempDir dir;
    auto file = dir / "old.jpg";
    testing_support::writeText(file, "earlier image");
    std::vector<std::uint8_t> px(16 * 16 * 3, 0x80);

    EXPECT_THROW(reports::WriteJpeg(file, px.data(), 0, 16, 48, PixelLayout::Rgb),
                 reports::JpegError);
    EXPECT_THROW(reports::WriteJpeg(file, px.data(), 16, 16, 47, PixelLayout::Rgb),
                 reports::JpegError)
        << "rows shorter than a pixel row";
    EXPECT_THROW(reports::WriteJpeg(file, nullptr, 16, 16, 48, PixelLayout::Rgb),
                 reports::JpegError);
    EXPECT_EQ(testing_support::readText(file), "earlier image");

    EXPECT_THROW(
        reports::WriteJpeg(dir / "gone" / "a.jpg", px.data(), 16, 16, 48, PixelLayout::Rgb),
        platform::IoError);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(JpegWriter, OverwritesAnEarlierImageOfTheSameName) {
    TempDir dir;
    auto file = dir / "a.jpg";
    testing_support::writeText(file, "earlier image");
    std::vector<std::uint8_t> px(8 * 8 * 3, 0);
    reports::WriteJpeg(file, px.data(), 8, 8, 24, PixelLayout::Rgb);
    Decoded d = decode(testing_support::readText(file));
    ASSERT_TRUE(d.ok);
    EXPECT_EQ(d.width, 8);
}

}  // namespace
