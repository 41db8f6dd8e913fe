#pragma once

/// The blur of a shadow: an approximation of a Gaussian blur by three box blurs in each
/// direction, over an 8-bit alpha mask in place. Pixels outside the mask count as clear.
class CGAlphaBlur {
  public:
    /// Blurs with the standard deviation `sigma` in pixels; below half a pixel nothing changes.
    static void blur(unsigned char* data, int width, int height, int stride, double sigma);
};
