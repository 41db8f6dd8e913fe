#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <optional>
#include <vector>

#include "Base/Foundation/CGGeometry.h"

namespace SwiftUI {

/// What the views of one graph answered in the current pass: a layout asks the same view the
/// same question many times (a stack offers its children nothing, then everything, then their
/// share), and each answer holds until the pass ends. Each view that answers gets a list of a
/// few answers here; the lists' room stays with the graph from one pass to the next, so that
/// remembering costs no allocation.
class LayoutAnswers {
  public:
    /// A proposal's length, `unspecified` for none (a sanitized proposal holds no negative
    /// length).
    static constexpr CGFloat unspecified = -1;
    static CGFloat lengthOf(std::optional<CGFloat> length) { return length.value_or(unspecified); }

    /// What a view is asked: its size or its first baseline, at a place, for a proposal.
    struct Question {
        std::size_t path = 0;
        CGFloat width = unspecified;
        CGFloat height = unspecified;
        bool baseline = false;

        bool operator==(const Question&) const = default;
        /// Tells most different questions apart in one comparison.
        std::uint64_t digest() const {
            return (path ^ (std::bit_cast<std::uint64_t>(width) * 0x9e3779b97f4a7c15ULL) ^
                    (std::bit_cast<std::uint64_t>(height) * 0xc2b2ae3d27d4eb4fULL)) +
                   (baseline ? 1 : 0);
        }
    };
    struct Answer {
        CGSize size;
        std::optional<CGFloat> firstBaseline;
    };

    /// Where a view's answers are: kept by the view, good for the pass it was made in.
    struct Ticket {
        std::uint64_t pass = 0;
        std::uint32_t list = 0;
    };

    LayoutAnswers() : pass_(numberPass()) {}

    /// Forgets every answer (the room stays).
    void newPass() {
        pass_ = numberPass();
        used_ = 0;
    }

    const Answer* recall(const Ticket& ticket, const Question& question,
                         std::uint64_t digest) const {
        if (!holds(ticket)) return nullptr;
        const List& list = lists_[ticket.list];
        for (std::uint8_t i = 0; i < list.count; ++i)
            if (list.digests[i] == digest && list.entries[i].question == question)
                return &list.entries[i].answer;
        return nullptr;
    }

    /// Keeps the answer in the ticket's list (a new list for a ticket of an earlier pass or
    /// another graph); a full list gives up its oldest answer.
    void remember(Ticket& ticket, const Question& question, std::uint64_t digest,
                  const Answer& answer);

  private:
    /// A view asked more than this many different questions in a pass answers the oldest
    /// again when they come back.
    static constexpr std::uint8_t answersPerView = 8;
    struct Entry {
        Question question;
        Answer answer;
    };
    struct List {
        std::array<std::uint64_t, answersPerView> digests;
        std::array<Entry, answersPerView> entries;
        std::uint8_t count = 0;
        std::uint8_t next = 0;
    };

    bool holds(const Ticket& ticket) const { return ticket.pass == pass_; }
    /// The passes of every graph are numbered from one count: a view laid out by a graph that
    /// is gone never takes a new graph's answers for its own, wherever that graph was made.
    static std::uint64_t numberPass();

    std::vector<List> lists_;
    std::uint32_t used_ = 0;
    std::uint64_t pass_;
};

}  // namespace SwiftUI
