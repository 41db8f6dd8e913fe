#pragma once

#include <cstdint>

/// How much news has come from outside the process, about everything and about one subject (an
/// element of the desktop, by its identifier). A value read from outside stays as true as when
/// it was read until news about its subject, or about everything, arrives: until then a second
/// read would find the same, so the first may serve it.
class News {
  public:
    /// The counts of news at one moment, for one subject.
    struct Mark {
        std::uint64_t general = 0;
        std::uint64_t about = 0;
        bool operator==(const Mark&) const = default;
    };

    static Mark mark(std::uint64_t subject);
    /// News about everything (an application launched or went, the displays changed). Called
    /// on whatever thread brings it, before any reply that it preceded is handed on.
    static void arrived();
    /// News about one subject (a window moved, changed size or went).
    static void arrivedAbout(std::uint64_t subject);
};
