#pragma once

#include <string>
#include <string_view>

namespace kelvo {

/// The sentence that closes every refusal that left things as they were. What it follows may be
/// a reason that already ends in a full stop (the platform's own sentences do); that stop is not
/// doubled.
struct NothingChanged {
    NothingChanged() = delete;

    static constexpr std::string_view sentence = "Nothing was changed.";

    /// `text`, closed by one full stop, then " Nothing was changed.".
    static std::string after(std::string_view text);
};

}  // namespace kelvo
