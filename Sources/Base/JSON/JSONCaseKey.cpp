#include "Base/JSON/JSONCaseKey.h"

namespace kelvo {

std::string JSONCaseKey::read(const JSONNode& node, std::initializer_list<const char*> cases) {
    int recognised = 0;
    std::string found;
    for (const char* name : cases) {
        if (node.contains(name)) {
            ++recognised;
            found = name;
        }
    }
    if (recognised != 1) node.fail(DecodingError::Kind::typeMismatch, keyCountMessage);
    return found;
}

}  // namespace kelvo
