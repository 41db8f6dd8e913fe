#pragma once

#include <functional>
#include <memory>

// Run loops and their sources. Each thread has one run loop, made when it is first asked for;
// the main thread's is the main loop that also runs the main queue. There is one mode: work
// and sources given for the default or the common modes all run in every run.

using CFRunLoopMode = const char*;
inline constexpr CFRunLoopMode kCFRunLoopDefaultMode = "kCFRunLoopDefaultMode";
inline constexpr CFRunLoopMode kCFRunLoopCommonModes = "kCFRunLoopCommonModes";

class CFRunLoop;
class CFRunLoopSource;
using CFRunLoopRef = std::shared_ptr<CFRunLoop>;
using CFRunLoopSourceRef = std::shared_ptr<CFRunLoopSource>;

CFRunLoopRef CFRunLoopGetCurrent();
CFRunLoopRef CFRunLoopGetMain();

/// Runs the calling thread's run loop until `CFRunLoopStop`, also when it holds no sources. A
/// stop that comes while the loop is not running ends its next run at once, so a thread told
/// to stop while it is still starting does not run on.
void CFRunLoopRun();
void CFRunLoopStop(const CFRunLoopRef& loop);
/// Queues `block` to run on the loop's thread in its next pass; `CFRunLoopWakeUp` starts
/// that pass when the loop is waiting.
void CFRunLoopPerformBlock(const CFRunLoopRef& loop, CFRunLoopMode mode,
                           std::function<void()> block);
void CFRunLoopWakeUp(const CFRunLoopRef& loop);

void CFRunLoopAddSource(const CFRunLoopRef& loop, const CFRunLoopSourceRef& source,
                        CFRunLoopMode mode);
void CFRunLoopRemoveSource(const CFRunLoopRef& loop, const CFRunLoopSourceRef& source,
                           CFRunLoopMode mode);
bool CFRunLoopContainsSource(const CFRunLoopRef& loop, const CFRunLoopSourceRef& source,
                             CFRunLoopMode mode);

/// A source whose `perform` runs on the thread of every run loop it was added to, once per
/// signal (signals before it runs merge). Signalling also wakes those run loops.
CFRunLoopSourceRef CFRunLoopSourceCreate(std::function<void()> perform);
void CFRunLoopSourceSignal(const CFRunLoopSourceRef& source);
/// The source never performs again and leaves every run loop.
void CFRunLoopSourceInvalidate(const CFRunLoopSourceRef& source);
bool CFRunLoopSourceIsValid(const CFRunLoopSourceRef& source);
