#include "Platform/SwiftUI/ObservableObject.h"

#include <vector>

namespace SwiftUI {

ObservableObject::Subscription::~Subscription() {
    end();
}

ObservableObject::Subscription::Subscription(Subscription&& other) noexcept
    : observers_(std::move(other.observers_)), id_(other.id_) {
    other.observers_.reset();
}

ObservableObject::Subscription& ObservableObject::Subscription::operator=(
    Subscription&& other) noexcept {
    if (this != &other) {
        end();
        observers_ = std::move(other.observers_);
        id_ = other.id_;
        other.observers_.reset();
    }
    return *this;
}

void ObservableObject::Subscription::end() {
    if (auto observers = observers_.lock()) observers->erase(id_);
    observers_.reset();
}

ObservableObject::Subscription ObservableObject::subscribe(std::function<void()> observer) {
    const int id = nextID_++;
    (*observers_)[id] = std::move(observer);
    return Subscription(observers_, id);
}

void ObservableObject::objectWillChange() {
    // An observer may end its own or another's subscription while it is told.
    std::vector<std::function<void()>> observers;
    for (const auto& [id, observer] : *observers_)
        observers.push_back(observer);
    for (const auto& observer : observers)
        if (observer) observer();
}

}  // namespace SwiftUI
