#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kelvo::bench {

/// A fixed piece of pure computation that every benchmark program times beside its own
/// figures, so that a figure taken on another machine, or on this one under another load, reads
/// as a ratio to it: a figure divided by the calibration of the same run. It sorts sixteen
/// thousand pseudo-random integers with a heap sort of its own and takes twenty thousand square
/// roots by Newton's method, on one core, touching 64 KiB; nothing of the system or of a library
/// that could change under it.
///
/// It must never change: a calibration that computes something else no longer compares with the
/// figures taken before it. Its checksum is checked on every run for that reason.
class Calibration {
  public:
    /// What one round gives; any other value means the round is no longer this computation.
    static constexpr std::uint64_t checksum = 0xaeae79efd2213bd7;
    /// How many rounds the figure printed before the others takes the median of.
    static constexpr int roundsBeforeRun = 15;

    /// One round of the computation; its checksum.
    static std::uint64_t round();
    /// The median time of `rounds` rounds timed now, in milliseconds; none when a round did
    /// not give the checksum.
    static std::optional<double> medianMilliseconds(int rounds);
    /// The 1-minute load average; 0 when it cannot be read.
    static double loadOverOneMinute();

  private:
    static constexpr std::size_t sortedCount = 16384;
    static constexpr std::uint32_t seed = 2463534242u;
    static constexpr std::uint32_t roots = 20000;
    static constexpr int newtonSteps = 8;

    static std::uint32_t nextRandom(std::uint32_t x);
    static void heapSort(std::vector<std::uint32_t>& values);
    static void siftDown(std::vector<std::uint32_t>& values, std::size_t root, std::size_t end);
    static std::uint64_t rootsChecksum();
};

}  // namespace kelvo::bench
