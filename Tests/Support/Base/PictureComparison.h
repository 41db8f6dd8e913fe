#pragma once

#include <string>

#include "Base/CoreGraphics/CGImage.h"

namespace kelvo::testing {

/// A picture drawn now held against its reviewed copy, pixel by pixel. A pixel differs when
/// one of its four channels (premultiplied, 0 to 255) is further from the copy's than
/// `channelCounts`; the pictures match when they have one size and no more than `pixels`
/// pixels differ.
class PictureComparison {
  public:
    struct Tolerance {
        int channelCounts = 0;
        long pixels = 0;
    };

    PictureComparison(const CGImage& drawn, const CGImage& reference, Tolerance tolerance);

    bool sameSize() const { return sameSize_; }
    bool matches() const { return sameSize_ && differing_ <= tolerance_.pixels; }
    /// Pixels further apart than the tolerance lets a channel be.
    long differingPixels() const { return differing_; }
    /// The largest distance of one channel anywhere, in counts.
    int largestDifference() const { return largest_; }
    /// "1392 × 1560 against 1392 × 1560: 214 pixels differ, by up to 255 counts", for a
    /// failure's message.
    std::string describe() const;
    /// The reference faded to a light grey, with every pixel that differs in full red; null
    /// when the sizes differ.
    CGImageRef differencePicture() const;

  private:
    const CGImage& drawn_;
    const CGImage& reference_;
    Tolerance tolerance_;
    bool sameSize_;
    long differing_ = 0;
    int largest_ = 0;
};

}  // namespace kelvo::testing
