#include "Platform/SwiftUI/ViewNode.h"

#include <algorithm>
#include <utility>

#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

std::optional<CGFloat> ViewNode::firstBaseline(CGSize, const EnvironmentValues&) const {
    return std::nullopt;
}

std::optional<CGFloat> ViewNode::spacerMinLength(LayoutAxis) const {
    return std::nullopt;
}

const ViewNode& ViewNode::answering(const View& view) {
    const ViewNode* node = &view.node();
    while (node->answersAs_)
        node = &node->answersAs_->node();
    return *node;
}

CGSize measure(const View& view, const ProposedViewSize& proposal,
               const EnvironmentValues& environment) {
    const ProposedViewSize clean = proposal.sanitized();
    const ViewNode& node = ViewNode::answering(view);
    LayoutServices* services = environment.services;
    if (!services || node.sizesAtOnce_) return sanitizedSize(node.sizeThatFits(clean, environment));
    const LayoutAnswers::Question question{environment.pathHash,
                                           LayoutAnswers::lengthOf(clean.width),
                                           LayoutAnswers::lengthOf(clean.height), false};
    const std::uint64_t digest = question.digest();
    LayoutAnswers& answers = services->answers();
    if (const LayoutAnswers::Answer* answer = answers.recall(node.answers_, question, digest))
        return answer->size;
    const CGSize size = sanitizedSize(node.sizeThatFits(clean, environment));
    answers.remember(node.answers_, question, digest, {size, std::nullopt});
    return size;
}

void placeView(const View& view, const CGRect& frame, const EnvironmentValues& environment,
               LayoutNode& parent) {
    CGRect clean = frame;
    clean.size = sanitizedSize(frame.size);
    view.node().place(clean, environment, parent);
}

std::optional<CGFloat> baselineOf(const View& view, CGSize size,
                                  const EnvironmentValues& environment) {
    const CGSize clean = sanitizedSize(size);
    const ViewNode& node = ViewNode::answering(view);
    LayoutServices* services = environment.services;
    if (!services) return node.firstBaseline(clean, environment);
    const LayoutAnswers::Question question{environment.pathHash, clean.width, clean.height, true};
    const std::uint64_t digest = question.digest();
    LayoutAnswers& answers = services->answers();
    if (const LayoutAnswers::Answer* answer = answers.recall(node.answers_, question, digest))
        return answer->firstBaseline;
    const std::optional<CGFloat> baseline = node.firstBaseline(clean, environment);
    answers.remember(node.answers_, question, digest, {{}, baseline});
    return baseline;
}

std::vector<View> flattened(const std::vector<View>& views) {
    std::vector<View> result;
    result.reserve(views.size());
    for (const View& view : views) {
        if (const std::vector<View>* list = view.node().listChildren()) {
            for (const View& inner : flattened(*list))
                result.push_back(inner);
        } else if (!view.isEmpty()) {
            result.push_back(view);
        }
    }
    return result;
}

std::vector<View> flattened(std::vector<View>&& views) {
    const bool flat = std::none_of(views.begin(), views.end(), [](const View& view) {
        return view.node().listChildren() || view.isEmpty();
    });
    if (flat) return std::move(views);
    return flattened(std::as_const(views));
}

}  // namespace SwiftUI
