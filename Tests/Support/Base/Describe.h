#pragma once

#include <string>

#include "Base/Foundation/CGGeometry.h"

namespace kelvo {

// How test logs write geometry: "{x, y, w, h}", "{x, y}", "{w, h}", numbers in their
// shortest form.
std::string describe(const CGRect& rect);
std::string describe(const CGPoint& point);
std::string describe(const CGSize& size);

}  // namespace kelvo
