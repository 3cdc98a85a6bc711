#pragma once
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Little-endian fields of the statutory table files. The doubles of the tax
// tables sit at offsets that are not multiples of 8, so fields are copied out of
// the bytes, never read through an overlaid struct.
namespace ledger::tablebytes {

static_assert(std::endian::native == std::endian::little,
              "the table files are little-endian and read as such");

inline std::int32_t int32At(std::string_view bytes, std::size_t offset) {
    std::int32_t v;
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

inline double doubleAt(std::string_view bytes, std::size_t offset) {
    double v;
    std::memcpy(&v, bytes.data() + offset, sizeof v);
    return v;
}

}  // namespace ledger::tablebytes
