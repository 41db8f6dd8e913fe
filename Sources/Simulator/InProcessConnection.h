#pragma once

#include <atomic>
#include <memory>

#include "Base/Foundation/Mutex.h"
#include "Simulator/DesktopForwarder.h"

namespace sim {

/// A connection to a desktop that lives in the same process: each call is a direct call on the
/// desktop, and events reach the sink on the thread that caused them.
class InProcessConnection final : public DesktopForwarder {
  public:
    explicit InProcessConnection(std::shared_ptr<Desktop> desktop);
    ~InProcessConnection() override;

    void setEventSink(EventSink sink) override;
    Pid registerClient(const ApplicationSpec& self) override;
    Pid clientPid() const override;

    // An Accessibility call waits for a slow application's answer, up to its timeout.
    AttributeReply copyAttribute(ElementID element, const std::string& attribute,
                                 double timeout) override;
    AccessError setAttribute(ElementID element, const std::string& attribute,
                             const AttributeValue& value, double timeout) override;
    SettableReply isAttributeSettable(ElementID element, const std::string& attribute,
                                      double timeout) override;
    AccessError performAction(ElementID element, const std::string& action,
                              double timeout) override;

  private:
    /// Blocks the caller while the application behind the element takes to answer: on the
    /// manual clock the virtual time passes (nothing else runs meanwhile, as behind a blocked
    /// thread); on the real clock the thread sleeps.
    void awaitAnswer(ElementID element, double timeout) const;

    /// The sink, shared with the desktop's delivery so that an event under way when the
    /// connection goes never reaches a destroyed object.
    struct SinkSlot {
        Mutex mutex;
        EventSink sink GUARDED_BY(mutex);
        void deliver(const DesktopEvent& event);
    };

    std::shared_ptr<SinkSlot> slot_ = std::make_shared<SinkSlot>();
    std::atomic<Pid> pid_{0};
};

}  // namespace sim
