#include "Simulator/WindowPicture.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace sim {

namespace {

constexpr std::uint16_t repeatBit = 0x8000;
constexpr std::size_t longestRun = 0x8000;
/// A packed pixel is the pixel's 32-bit value in little-endian order, which is how this machine
/// holds it: runs of pixels are copied as they lie.
static_assert(std::endian::native == std::endian::little);

/// Appends the packed form a few runs at a time into memory it grows by itself, so that no byte
/// is appended on its own.
class RunWriter {
  public:
    explicit RunWriter(std::string& out) : out_(out) {}

    /// `count` pixels that follow as they are, at most a run's length at a time.
    void literal(const std::uint32_t* pixels, std::size_t count) {
        while (count > 0) {
            const std::size_t run = std::min(count, longestRun);
            header(run, false);
            out_.append(reinterpret_cast<const char*>(pixels), 4 * run);
            pixels += run;
            count -= run;
        }
    }
    void repeat(std::uint32_t pixel, std::size_t count) {
        header(count, true);
        out_.append(reinterpret_cast<const char*>(&pixel), 4);
    }

  private:
    void header(std::size_t count, bool repeat) {
        const auto value = static_cast<std::uint16_t>((count - 1) | (repeat ? repeatBit : 0));
        const char bytes[2] = {static_cast<char>(value & 0xFF), static_cast<char>(value >> 8)};
        out_.append(bytes, 2);
    }

    std::string& out_;
};

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

/// Packs pixels that lie one after the other, row after row; runs go on across rows, so a flat
/// area packs as one run however wide the window.
void packRuns(const std::uint32_t* pixels, std::size_t total, std::string& out) {
    RunWriter writer(out);
    std::size_t literalStart = 0;
    std::size_t i = 0;
    while (i < total) {
        const std::uint32_t pixel = pixels[i];
        const std::size_t limit = std::min(total, i + longestRun);
        std::size_t end = i + 1;
        while (end < limit && pixels[end] == pixel)
            ++end;
        // Two equal pixels are cheaper inside a literal run than as a run of their own.
        if (end - i >= 3) {
            writer.literal(pixels + literalStart, i - literalStart);
            writer.repeat(pixel, end - i);
            literalStart = end;
        }
        i = end;
    }
    writer.literal(pixels + literalStart, total - literalStart);
}

}  // namespace

WindowPicture WindowPicture::pack(const std::uint32_t* pixels, std::uint32_t width,
                                  std::uint32_t height, std::size_t stride) {
    WindowPicture picture{width, height, {}};
    if (picture.isEmpty()) return picture;
    const std::size_t total = std::size_t{width} * height;
    // An interface picture packs to a small part of its size; a few growths cover the rest.
    picture.packed.reserve(total / 2);
    if (stride == width) {
        packRuns(pixels, total, picture.packed);
    } else {
        std::vector<std::uint32_t> rows(total);
        for (std::size_t y = 0; y < height; ++y)
            std::memcpy(rows.data() + y * width, pixels + y * stride, 4 * std::size_t{width});
        packRuns(rows.data(), total, picture.packed);
    }
    picture.packed.shrink_to_fit();
    return picture;
}

bool WindowPicture::isWellFormed() const {
    if (width > maximumSide || height > maximumSide) return false;
    if (isEmpty()) return packed.empty();
    return walkRuns(packed, std::size_t{width} * height, [](std::size_t, bool, std::size_t) {});
}

std::optional<std::vector<std::uint32_t>> WindowPicture::unpack() const {
    if (!isWellFormed()) return std::nullopt;
    std::vector<std::uint32_t> pixels(std::size_t{width} * height);
    std::size_t filled = 0;
    walkRuns(packed, pixels.size(), [&](std::size_t count, bool repeat, std::size_t at) {
        if (repeat) {
            std::uint32_t pixel;
            std::memcpy(&pixel, packed.data() + at, 4);
            std::fill_n(pixels.begin() + static_cast<std::ptrdiff_t>(filled), count, pixel);
        } else {
            std::memcpy(pixels.data() + filled, packed.data() + at, 4 * count);
        }
        filled += count;
    });
    return pixels;
}

}  // namespace sim
