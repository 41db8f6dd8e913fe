#include "Support/Base/Describe.h"

#include <array>
#include <charconv>

namespace kelvo {

namespace {

std::string number(CGFloat value) {
    std::array<char, 32> text{};
    const auto result = std::to_chars(text.data(), text.data() + text.size(), value);
    return std::string(text.data(), result.ptr);
}

}  // namespace

std::string describe(const CGRect& r) {
    return "{" + number(r.origin.x) + ", " + number(r.origin.y) + ", " + number(r.size.width) +
           ", " + number(r.size.height) + "}";
}

std::string describe(const CGPoint& p) {
    return "{" + number(p.x) + ", " + number(p.y) + "}";
}

std::string describe(const CGSize& s) {
    return "{" + number(s.width) + ", " + number(s.height) + "}";
}

}  // namespace kelvo
