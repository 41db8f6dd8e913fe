#pragma once

/// The self-pipe between the signal handler and the queues: the handler only writes the
/// signal's number into the pipe; the main loop (or the manual clock) reads it and hands each
/// signal to the event handlers of its resumed signal sources on their queues.
class SignalDelivery {
  public:
    /// The pipe's reading end, for the main loop to wait on.
    static int readDescriptor();
    /// Reads what arrived and posts the handlers; does nothing when nothing arrived.
    static void deliverPending();
    /// Installs the catching handler for `signal` (once per signal while sources want it) and
    /// puts the earlier disposition back when the last one no longer does.
    static void retain(int signal);
    static void release(int signal);
};
