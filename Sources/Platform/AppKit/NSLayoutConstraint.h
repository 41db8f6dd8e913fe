#pragma once

#include <initializer_list>
#include <memory>

class NSView;

/// The edges a view can be pinned by.
enum class NSLayoutAttribute { leading, trailing, top, bottom };

class NSLayoutConstraint;
using NSLayoutConstraintRef = std::shared_ptr<NSLayoutConstraint>;

/// One edge of a view, to make constraints with.
class NSLayoutAnchor {
  public:
    NSLayoutAnchor(NSView* view, NSLayoutAttribute attribute)
        : view_(view), attribute_(attribute) {}
    NSView* view() const { return view_; }
    NSLayoutAttribute attribute() const { return attribute_; }
    /// This edge at `other` plus `constant` (inactive until activated).
    NSLayoutConstraintRef constraintEqualToAnchor(const NSLayoutAnchor& other,
                                                  double constant = 0) const;

  private:
    NSView* view_;
    NSLayoutAttribute attribute_;
};

/// An equality between two edges. The layout here keeps what the system's windows use: a
/// view's edge pinned to the same edge of its superview, which places the view whenever the
/// superview's size changes (a hosting view that fills its container). Other constraints are
/// kept but place nothing.
class NSLayoutConstraint : public std::enable_shared_from_this<NSLayoutConstraint> {
  public:
    NSLayoutConstraint(NSLayoutAnchor first, NSLayoutAnchor second, double constant)
        : first_(first), second_(second), constant_(constant) {}
    ~NSLayoutConstraint();
    NSLayoutConstraint(const NSLayoutConstraint&) = delete;
    NSLayoutConstraint& operator=(const NSLayoutConstraint&) = delete;

    bool isActive() const { return active_; }
    /// An active constraint is kept by its first view, as the platform's views keep theirs.
    void setActive(bool active);
    const NSLayoutAnchor& firstAnchor() const { return first_; }
    const NSLayoutAnchor& secondAnchor() const { return second_; }
    double constant() const { return constant_; }
    /// True when it pins a view's edge to the same edge of its superview.
    bool pinsToSuperview() const;
    /// Activates every constraint of the list.
    static void activateConstraints(const std::initializer_list<NSLayoutConstraintRef>& list);

  private:
    NSLayoutAnchor first_;
    NSLayoutAnchor second_;
    double constant_;
    bool active_ = false;
};
