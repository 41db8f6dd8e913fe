#include "Platform/SwiftUI/LayoutAnswers.h"

#include <atomic>

namespace SwiftUI {

std::uint64_t LayoutAnswers::numberPass() {
    static std::atomic<std::uint64_t> passes{0};
    return ++passes;
}

void LayoutAnswers::remember(Ticket& ticket, const Question& question, std::uint64_t digest,
                             const Answer& answer) {
    if (!holds(ticket)) {
        if (used_ == lists_.size()) lists_.emplace_back();
        lists_[used_].count = 0;
        lists_[used_].next = 0;
        ticket = {pass_, used_++};
    }
    List& list = lists_[ticket.list];
    std::uint8_t slot = list.count;
    if (list.count < answersPerView) {
        ++list.count;
    } else {
        slot = list.next;
        list.next = static_cast<std::uint8_t>((list.next + 1) % answersPerView);
    }
    list.digests[slot] = digest;
    list.entries[slot] = {question, answer};
}

}  // namespace SwiftUI
