#pragma once

#include <set>
#include <string>
#include <string_view>

#include "Base/Text/UnicodeText.h"

namespace kelvo {

/// A set of texts in which canonically equivalent spellings are one element (the first one
/// inserted is kept), the way sets of bundle identifiers behave. Iterates in ascending
/// canonical order.
class TextSet : public std::set<std::string, CanonicalOrder> {
  public:
    using std::set<std::string, CanonicalOrder>::set;

    bool contains(std::string_view text) const { return find(std::string(text)) != end(); }

    /// Equal when both hold the same texts up to canonical equivalence.
    bool operator==(const TextSet& other) const;
};

}  // namespace kelvo
