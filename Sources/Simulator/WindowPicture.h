#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace sim {

/// The pixels a client drew for one of its windows (or a status item's image), as they cross
/// to the desktop: premultiplied 32-bit ARGB pixels (0xAARRGGBB), row by row from the top,
/// packed in runs. A run starts with a little-endian 16-bit header: with its top bit set, the
/// one pixel that follows repeats (header & 0x7FFF) + 1 times; without it, (header + 1)
/// pixels follow as they are. Each pixel is a little-endian 32-bit value. Flat interface
/// pictures pack to a small fraction of their size, and a picture never grows by more than
/// two bytes in 256 pixels.
///
/// The desktop keeps a picture packed and checks only that its runs fill its size exactly;
/// it never unpacks one.
struct WindowPicture {
    /// The largest picture in either direction.
    static constexpr std::uint32_t maximumSide = 4096;

    std::uint32_t width = 0;
    std::uint32_t height = 0;
    /// The packed runs, as bytes.
    std::string packed;

    bool operator==(const WindowPicture&) const = default;

    /// Packs pixels; `stride` is the distance between rows, in pixels.
    static WindowPicture pack(const std::uint32_t* pixels, std::uint32_t width,
                              std::uint32_t height, std::size_t stride);
    /// The pixels, row by row with no gaps; none when the runs do not fill the size exactly.
    std::optional<std::vector<std::uint32_t>> unpack() const;
    /// No pixels: a window that has drawn nothing yet.
    bool isEmpty() const { return width == 0 || height == 0; }
    /// Within the bounds, and the runs fill the size exactly (an empty picture is well formed
    /// when it packs nothing).
    bool isWellFormed() const;
};

}  // namespace sim
