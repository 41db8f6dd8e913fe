#pragma once

#include <cstdint>

/// The blur of a shadow: an approximation of a Gaussian blur by three box blurs in each
/// direction, over an 8-bit alpha mask in place. Pixels outside the mask count as clear.
class CGAlphaBlur {
  public:
    /// Blurs with the standard deviation `sigma` in pixels; below half a pixel nothing changes.
    static void blur(unsigned char* data, int width, int height, int stride, double sigma);

  private:
    /// The rounded mean of a box of `box` pixels from their sum, by a multiplication: a
    /// division per pixel would cost more than the rest of a pass.
    class BoxMean {
      public:
        explicit BoxMean(int box);
        unsigned char operator()(std::uint32_t sum) const {
            return static_cast<unsigned char>(
                exact_ ? ((static_cast<std::uint64_t>(sum) + half_) * factor_) >> shift
                       : (sum + half_) / box_);
        }

      private:
        /// Exact for every sum of 8-bit values of a box up to this wide.
        static constexpr std::uint32_t widestExactBox = 4096;
        static constexpr int shift = 32;
        std::uint32_t box_;
        std::uint32_t half_;
        std::uint64_t factor_;
        bool exact_;
    };

    /// Along each row.
    static void horizontalPass(unsigned char* data, int width, int height, int stride, int radius,
                               unsigned char* scratch);
    /// Down every column at once, a row at a time, so that memory is read in order.
    static void verticalPass(unsigned char* data, int width, int height, int stride, int radius,
                             unsigned char* rows, std::uint32_t* sums);
};
