#pragma once

#include <vector>

#include "KelvoCore/Bindings/KeyReference.h"
#include "Platform/SwiftUI/ObservableObject.h"

namespace kelvo {

/// What the cheat sheet shows: the sections of the key reference as of its last opening.
class CheatsheetModel : public SwiftUI::ObservableObject {
  public:
    SwiftUI::Published<std::vector<KeyReference::Section>> sections{*this, {}};
};

}  // namespace kelvo
