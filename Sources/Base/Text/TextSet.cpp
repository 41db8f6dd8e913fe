#include "Base/Text/TextSet.h"

#include <algorithm>

namespace kelvo {

bool TextSet::operator==(const TextSet& other) const {
    return std::equal(begin(), end(), other.begin(), other.end(),
                      [](const std::string& a, const std::string& b) {
                          return UnicodeText::canonicallyEquivalent(a, b);
                      });
}

}  // namespace kelvo
