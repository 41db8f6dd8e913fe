#include "Base/Foundation/ConditionVariable.h"

void ConditionVariable::wait(Mutex& mutex) {
    holding(mutex, [&](auto& held) {
        changed_.wait(held);
        return true;
    });
}

bool ConditionVariable::waitUntil(Mutex& mutex, std::chrono::steady_clock::time_point deadline) {
    return holding(mutex, [&](auto& held) {
        return changed_.wait_until(held, deadline) == std::cv_status::no_timeout;
    });
}
