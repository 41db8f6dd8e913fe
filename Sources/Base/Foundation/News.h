#pragma once

#include <cstdint>

/// How much news has come from outside the process, about everything, about one group of
/// subjects and about one subject (an element of the desktop, by its identifier, in the group
/// of its process). A value read from outside stays as true as when it was read until news
/// about its subject, its group or everything arrives: until then a second read would find the
/// same, so the first may serve it. News that a subject moved or changed size concerns its
/// frame alone: a value other than the frame outlives it.
class News {
  public:
    /// The counts of news at one moment, for one subject.
    struct Mark {
        std::uint64_t general = 0;
        std::uint64_t group = 0;
        std::uint64_t about = 0;
        bool operator==(const Mark&) const = default;
    };

    /// The news that may have changed anything about the subject, its frame included.
    static Mark mark(std::uint64_t subject, std::uint64_t group);
    /// The news that may have changed something about the subject besides its frame.
    static Mark markBeyondFrame(std::uint64_t subject, std::uint64_t group);
    /// News about everything (the displays changed, the trust was taken away). Called on
    /// whatever thread brings it, before any reply that it preceded is handed on.
    static void arrived();
    /// News about every subject of one group (an application ended, its windows with it).
    static void arrivedAboutGroup(std::uint64_t group);
    /// News about one subject (it was minimized, went, or may have changed in any way).
    static void arrivedAbout(std::uint64_t subject);
    /// News that one subject moved or changed size, and nothing else.
    static void movedAbout(std::uint64_t subject);
};
