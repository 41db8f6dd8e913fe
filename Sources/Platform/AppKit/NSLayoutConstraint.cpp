#include "Platform/AppKit/NSLayoutConstraint.h"

#include "Platform/AppKit/NSView.h"

NSLayoutConstraintRef NSLayoutAnchor::constraintEqualToAnchor(const NSLayoutAnchor& other,
                                                              double constant) const {
    return std::make_shared<NSLayoutConstraint>(*this, other, constant);
}

NSLayoutConstraint::~NSLayoutConstraint() = default;

bool NSLayoutConstraint::pinsToSuperview() const {
    return first_.view() && second_.view() && first_.attribute() == second_.attribute() &&
           first_.view()->superview() == second_.view();
}

void NSLayoutConstraint::setActive(bool active) {
    if (active == active_ || !first_.view()) return;
    active_ = active;
    if (active) {
        first_.view()->addConstraint(shared_from_this());
    } else {
        first_.view()->removeConstraint(this);
    }
}

void NSLayoutConstraint::activateConstraints(
    const std::initializer_list<NSLayoutConstraintRef>& list) {
    for (const auto& constraint : list) {
        if (constraint) constraint->setActive(true);
    }
}
