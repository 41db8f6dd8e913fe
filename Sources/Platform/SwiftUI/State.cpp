#include "Platform/SwiftUI/State.h"

#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/ModifierNode.h"

namespace SwiftUI {

namespace {

class StateNode final : public BuildingNode {
  public:
    StateNode(std::function<std::shared_ptr<void>()> make,
              std::function<View(const std::shared_ptr<void>&, LayoutServices*)> content)
        : make_(std::move(make)), content_(std::move(content)) {}

  protected:
    View build(const EnvironmentValues& environment) const override {
        if (!environment.services) return content_(make_(), nullptr);
        std::shared_ptr<void>& box =
            environment.services->stored(environment.key("#state"), std::shared_ptr<void>());
        if (!box) box = make_();
        return content_(box, environment.services);
    }

  private:
    std::function<std::shared_ptr<void>()> make_;
    std::function<View(const std::shared_ptr<void>&, LayoutServices*)> content_;
};

}  // namespace

void invalidateServices(LayoutServices* services) {
    if (services) services->invalidate();
}

View WithStateErased(std::function<std::shared_ptr<void>()> make,
                     std::function<View(const std::shared_ptr<void>&, LayoutServices*)> content) {
    return View(std::make_shared<StateNode>(std::move(make), std::move(content)));
}

}  // namespace SwiftUI
