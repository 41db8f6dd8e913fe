#include "Simulator/WindowPicture.h"

namespace sim {

namespace {

constexpr std::uint16_t repeatBit = 0x8000;
constexpr std::size_t longestRun = 0x8000;

void putHeader(std::string& out, std::size_t count, bool repeat) {
    const auto header = static_cast<std::uint16_t>((count - 1) | (repeat ? repeatBit : 0));
    out.push_back(static_cast<char>(header & 0xFF));
    out.push_back(static_cast<char>(header >> 8));
}

void putPixel(std::string& out, std::uint32_t pixel) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<char>((pixel >> shift) & 0xFF));
}

/// Walks the runs of a packed picture, handing each to `visit(count, repeat, offset)`;
/// false as soon as the bytes end inside a run or the pixels would pass `total`.
template <class Visit>
bool walkRuns(const std::string& packed, std::size_t total, Visit visit) {
    std::size_t at = 0;
    std::size_t filled = 0;
    while (at < packed.size()) {
        if (packed.size() - at < 2) return false;
        const auto header =
            static_cast<std::uint16_t>(static_cast<unsigned char>(packed[at]) |
                                       (static_cast<unsigned char>(packed[at + 1]) << 8));
        at += 2;
        const bool repeat = (header & repeatBit) != 0;
        const std::size_t count = (header & ~repeatBit) + std::size_t{1};
        const std::size_t bytes = repeat ? 4 : 4 * count;
        if (packed.size() - at < bytes || total - filled < count) return false;
        visit(count, repeat, at);
        at += bytes;
        filled += count;
    }
    return filled == total;
}

std::uint32_t pixelAt(const std::string& packed, std::size_t at) {
    std::uint32_t pixel = 0;
    for (int i = 3; i >= 0; --i)
        pixel = (pixel << 8) | static_cast<unsigned char>(packed[at + static_cast<std::size_t>(i)]);
    return pixel;
}

}  // namespace

WindowPicture WindowPicture::pack(const std::uint32_t* pixels, std::uint32_t width,
                                  std::uint32_t height, std::size_t stride) {
    WindowPicture picture{width, height, {}};
    if (picture.isEmpty()) return picture;
    std::vector<std::uint32_t> literal;
    const auto flushLiteral = [&] {
        if (literal.empty()) return;
        putHeader(picture.packed, literal.size(), false);
        for (const std::uint32_t pixel : literal)
            putPixel(picture.packed, pixel);
        literal.clear();
    };
    // Runs go on across rows, so a flat area packs as one run however wide the window.
    const std::size_t total = std::size_t{width} * height;
    const auto at = [&](std::size_t i) { return pixels[(i / width) * stride + i % width]; };
    std::size_t i = 0;
    while (i < total) {
        const std::uint32_t pixel = at(i);
        std::size_t end = i + 1;
        while (end < total && end - i < longestRun && at(end) == pixel)
            ++end;
        // Two equal pixels are cheaper inside a literal run than as a run of their own.
        if (end - i >= 3) {
            flushLiteral();
            putHeader(picture.packed, end - i, true);
            putPixel(picture.packed, pixel);
        } else {
            for (std::size_t k = i; k < end; ++k) {
                literal.push_back(at(k));
                if (literal.size() == longestRun) flushLiteral();
            }
        }
        i = end;
    }
    flushLiteral();
    return picture;
}

bool WindowPicture::isWellFormed() const {
    if (width > maximumSide || height > maximumSide) return false;
    if (isEmpty()) return packed.empty();
    return walkRuns(packed, std::size_t{width} * height, [](std::size_t, bool, std::size_t) {});
}

std::optional<std::vector<std::uint32_t>> WindowPicture::unpack() const {
    if (!isWellFormed()) return std::nullopt;
    std::vector<std::uint32_t> pixels;
    pixels.reserve(std::size_t{width} * height);
    walkRuns(packed, std::size_t{width} * height,
             [&](std::size_t count, bool repeat, std::size_t at) {
                 for (std::size_t i = 0; i < count; ++i)
                     pixels.push_back(pixelAt(packed, repeat ? at : at + 4 * i));
             });
    return pixels;
}

}  // namespace sim
