#pragma once

#include <memory>

#include "Base/Foundation/CGGeometry.h"
#include "Platform/AppKit/NSVisualEffectView.h"

namespace kelvo {

/// The dark translucent material the floating panels sit on, its layer rounded to
/// `cornerRadius` and clipping what it holds to that shape; each panel adds its own curve,
/// border or anchor.
std::shared_ptr<NSVisualEffectView> makeHUDBackdrop(const CGRect& frame, CGFloat cornerRadius);

}  // namespace kelvo
