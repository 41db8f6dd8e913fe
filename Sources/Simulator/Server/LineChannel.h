#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "Simulator/Server/LineSplitter.h"

namespace sim {

/// One peer of a line protocol on a non-blocking descriptor: lines in through a bounded
/// splitter, lines out through an outbox that is written as fast as the peer reads. Nothing
/// here ever waits for the peer.
class LineChannel {
  public:
    enum class Status {
        open,
        /// The peer closed its end or the descriptor failed; an unfinished last line is dropped.
        closed,
        /// The peer sent a line longer than the bound.
        overlong,
    };

    /// Takes ownership of the descriptor, which must be non-blocking.
    LineChannel(int descriptor, LineSplitter::Bound lines, std::size_t maximumOutbox);
    ~LineChannel();
    LineChannel(const LineChannel&) = delete;
    LineChannel& operator=(const LineChannel&) = delete;

    int descriptor() const { return descriptor_; }

    /// Reads everything that has arrived and appends the complete lines.
    Status receive(std::vector<std::string>& lines);
    /// Queues `line` and a line feed; false when the outbox would pass its bound (a peer that
    /// stopped reading), and the line is not queued.
    bool queue(const std::string& line);
    /// Writes what the peer takes now; false once the peer is gone.
    bool flush();
    bool hasOutput() const { return outbox_.size() > sent_; }

  private:
    int descriptor_;
    LineSplitter splitter_;
    std::size_t maximumOutbox_;
    std::string outbox_;
    std::size_t sent_ = 0;
};

}  // namespace sim
