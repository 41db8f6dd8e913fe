#include "Platform/SwiftUI/ViewNode.h"

#include <algorithm>
#include <utility>

#include "Platform/SwiftUI/LayoutServices.h"
#include "Platform/SwiftUI/View.h"

namespace SwiftUI {

std::optional<CGFloat> ViewNode::firstBaseline(CGSize, const EnvironmentValues&) const {
    return std::nullopt;
}

std::optional<CGFloat> ViewNode::spacerMinLength(LayoutAxis, const EnvironmentValues&) const {
    return std::nullopt;
}

const ViewNode::Answer* ViewNode::recall(std::uint64_t pass, std::size_t path, bool baseline,
                                         CGFloat width, CGFloat height) const {
    if (pass != answersPass_) return nullptr;
    for (const Answer& answer : answers_)
        if (answer.width == width && answer.height == height && answer.path == path &&
            answer.baseline == baseline)
            return &answer;
    return nullptr;
}

void ViewNode::remember(std::uint64_t pass, const Answer& answer) const {
    if (pass != answersPass_) {
        answers_.clear();
        nextAnswer_ = 0;
        answersPass_ = pass;
    }
    if (answers_.size() < rememberedAnswers) {
        if (answers_.empty()) answers_.reserve(rememberedAnswers);
        answers_.push_back(answer);
    } else {
        answers_[nextAnswer_] = answer;
        nextAnswer_ = (nextAnswer_ + 1) % rememberedAnswers;
    }
}

CGSize measure(const View& view, const ProposedViewSize& proposal,
               const EnvironmentValues& environment) {
    const ProposedViewSize clean = proposal.sanitized();
    const ViewNode& node = view.node();
    LayoutServices* services = environment.services;
    if (!services) return sanitizedSize(node.sizeThatFits(clean, environment));
    const CGFloat width = ViewNode::answerLength(clean.width);
    const CGFloat height = ViewNode::answerLength(clean.height);
    if (const ViewNode::Answer* answer =
            node.recall(services->pass(), environment.pathHash, false, width, height))
        return answer->size;
    const CGSize size = sanitizedSize(node.sizeThatFits(clean, environment));
    node.remember(services->pass(),
                  {environment.pathHash, width, height, false, size, std::nullopt});
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
    const ViewNode& node = view.node();
    LayoutServices* services = environment.services;
    if (!services) return node.firstBaseline(clean, environment);
    const CGFloat width = ViewNode::answerLength(clean.width);
    const CGFloat height = ViewNode::answerLength(clean.height);
    if (const ViewNode::Answer* answer =
            node.recall(services->pass(), environment.pathHash, true, width, height))
        return answer->firstBaseline;
    const std::optional<CGFloat> baseline = node.firstBaseline(clean, environment);
    node.remember(services->pass(), {environment.pathHash, width, height, true, {}, baseline});
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
