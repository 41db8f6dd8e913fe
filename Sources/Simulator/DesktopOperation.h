#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "Simulator/AlertInfo.h"
#include "Simulator/ApplicationInfo.h"
#include "Simulator/ColorPanelInfo.h"
#include "Simulator/DesktopValues.h"
#include "Simulator/DisplayInfo.h"
#include "Simulator/FilePanelInfo.h"
#include "Simulator/InputEvent.h"
#include "Simulator/InterfaceElement.h"
#include "Simulator/PlatformDefaults.h"
#include "Simulator/PreferenceData.h"
#include "Simulator/WindowInfo.h"

namespace sim {

/// How a request carries an operation's arguments.
enum class RequestForm {
    /// Each argument under its name.
    named,
    /// The one argument's own fields are the arguments.
    fields,
    /// As `fields`, and the client waits for no reply.
    postedFields,
};

/// How a reply carries what an operation returns.
struct ReplyForm {
    enum class Kind { key, ownFields, nothing };
    Kind kind = Kind::nothing;
    /// For `key`: the member that holds the value.
    std::string_view key;

    /// A key, as the list writes it.
    constexpr ReplyForm(const char* key) : kind(Kind::key), key(key) {}
    constexpr explicit ReplyForm(Kind kind) : kind(kind) {}
};

/// The names of an operation's arguments, in order: their keys in a request.
class ArgumentKeys {
  public:
    static constexpr std::size_t maximumCount = 4;

    /// Reads a parenthesised list of names, as "(element, attribute, timeout)".
    constexpr explicit ArgumentKeys(std::string_view list) {
        list.remove_prefix(1);
        list.remove_suffix(1);
        while (!list.empty()) {
            const auto comma = list.find(',');
            std::string_view name = list.substr(0, comma);
            while (name.starts_with(' '))
                name.remove_prefix(1);
            names_.at(count_++) = name;
            if (comma == std::string_view::npos) break;
            list.remove_prefix(comma + 1);
        }
    }

    constexpr std::size_t size() const { return count_; }
    constexpr std::string_view operator[](std::size_t i) const { return names_.at(i); }
    constexpr bool contains(std::string_view name) const {
        for (std::size_t i = 0; i < count_; ++i) {
            if (names_[i] == name) return true;
        }
        return false;
    }

  private:
    std::array<std::string_view, maximumCount> names_{};
    std::size_t count_ = 0;
};

/// One operation of the desktop as it crosses the socket: its name (the request's "op"), the
/// keys of its arguments and the forms of its request and reply. Every operation of
/// DesktopOperations.def has one, `operation::<name>`.
struct OperationForm {
    std::string_view name;
    ArgumentKeys keys;
    RequestForm request = RequestForm::named;
    ReplyForm reply;
};

/// What an Accessibility call answers when the desktop cannot be reached: `cannotComplete`,
/// with nothing read.
struct CannotComplete {
    constexpr operator AccessError() const { return AccessError::cannotComplete; }
    template <class Reply>
    constexpr operator Reply() const {
        Reply reply{};
        reply.error = AccessError::cannotComplete;
        return reply;
    }
};
inline constexpr CannotComplete cannotComplete;

/// What an operation returns when the desktop cannot be reached (`unanswered` in the list).
template <class Reply>
struct Unanswered {
    Reply value;
    Reply get() const { return value; }
};

template <>
struct Unanswered<void> {
    std::monostate value;
    void get() const {}
};

namespace operation {

inline constexpr RequestForm named = RequestForm::named;
inline constexpr RequestForm fields = RequestForm::fields;
inline constexpr RequestForm postedFields = RequestForm::postedFields;
inline constexpr ReplyForm ownFields{ReplyForm::Kind::ownFields};
inline constexpr ReplyForm nothing{ReplyForm::Kind::nothing};

#define DESKTOP_OPERATION(Reply, name, parameters, arguments, request, reply, unanswered) \
    inline constexpr OperationForm name{#name, ArgumentKeys(#arguments), request, reply};
#define APPLICATION_OPERATION(Reply, name, parameters, arguments, reply) \
    inline constexpr OperationForm name{#name, ArgumentKeys(#arguments), named, reply};
#define CONTROL_OPERATION(Reply, name, parameters, arguments, reply) \
    inline constexpr OperationForm name{#name, ArgumentKeys(#arguments), named, reply};
#include "Simulator/DesktopOperations.def"

/// Every operation, in the order of the list.
inline constexpr auto all = std::to_array<const OperationForm*>({
#define DESKTOP_OPERATION(Reply, name, ...) &name,
#define APPLICATION_OPERATION(Reply, name, ...) &name,
#define CONTROL_OPERATION(Reply, name, ...) &name,
#include "Simulator/DesktopOperations.def"
});

}  // namespace operation

/// The arguments a request may leave out, under their keys.
namespace argument {
#define LEFT_OUT_ARGUMENT(key, value) inline constexpr std::string_view key = #key;
#include "Simulator/DesktopOperations.def"
}  // namespace argument

}  // namespace sim
