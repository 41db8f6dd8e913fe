#pragma once

#include <any>
#include <map>
#include <optional>
#include <string>

#include "Base/Foundation/Mutex.h"

// The program's own defaults: values by key, kept for the life of the process. What the
// program and the frameworks it drives remember between windows (a window's saved frame, for
// one) lives here.

class NSUserDefaults {
  public:
    NSUserDefaults() = default;
    NSUserDefaults(const NSUserDefaults&) = delete;
    NSUserDefaults& operator=(const NSUserDefaults&) = delete;

    /// The process's defaults.
    static NSUserDefaults& standardUserDefaults();

    /// Every key with its value, in key order.
    std::map<std::string, std::any> dictionaryRepresentation() const;
    std::optional<std::any> objectForKey(const std::string& key) const;
    /// None when the key holds no text.
    std::optional<std::string> stringForKey(const std::string& key) const;
    void setObject(std::any value, const std::string& key);
    void removeObjectForKey(const std::string& key);

  private:
    mutable Mutex mutex_;
    std::map<std::string, std::any> values_ GUARDED_BY(mutex_);
};
