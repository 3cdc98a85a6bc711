#pragma once
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace platform {
class Folder;
}

// JPEG files of the slip images, through libjpeg with its default settings
// (baseline, quality 75). The encoder works in memory and the file is written
// whole, so a failure never leaves a half-written image under the real name.
namespace reports {

// The byte order of a pixel in the buffer handed in.
enum class PixelLayout {
    Rgb,   // three bytes: red, green, blue
    Bgrx,  // four bytes: blue, green, red, unused (a 32-bit image on little-endian)
};

// A buffer libjpeg could not encode (zero size, too large, library error).
class JpegError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The JPEG bytes of an image of width × height pixels whose rows start `stride`
// bytes apart. Throws JpegError.
std::string EncodeJpeg(const std::uint8_t* pixels, int width, int height, std::size_t stride,
                       PixelLayout layout);

// Encodes and writes the image to the file (replacing it). Throws JpegError when
// it cannot be encoded and platform::IoError when the file cannot be written; in
// both cases an existing file of that name is left as it was.
void WriteJpeg(const std::filesystem::path& file, const std::uint8_t* pixels, int width, int height,
               std::size_t stride, PixelLayout layout);
// The same for a file of a folder opened beforehand (several images into one
// chosen folder).
void WriteJpeg(const platform::Folder& folder, const std::string& name, const std::uint8_t* pixels,
               int width, int height, std::size_t stride, PixelLayout layout);

}  // namespace reports
