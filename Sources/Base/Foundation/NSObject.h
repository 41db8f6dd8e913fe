#pragma once

#include <string>

/// The root of the objects that take actions by selector name: the target of a control or a
/// menu item answers the selectors it knows and refuses the others.
class NSObject {
  public:
    NSObject() = default;
    virtual ~NSObject() = default;
    NSObject(const NSObject&) = delete;
    NSObject& operator=(const NSObject&) = delete;

    /// Carries out the action the selector names; false for a selector it does not answer.
    virtual bool performAction(const std::string& selector, const void* sender);
};
