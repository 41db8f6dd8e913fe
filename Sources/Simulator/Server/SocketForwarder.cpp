#include "Simulator/Server/SocketForwarder.h"

#include "Simulator/PlatformDefaults.h"
#include "Simulator/Server/OperationCoding.h"

namespace sim {

SocketForwarder::SocketForwarder(const std::string& path,
                                 std::optional<LineClient::Clock::duration> deadline,
                                 std::optional<LineClient::Clock::duration> quietSpell)
    : lines_(std::make_unique<LineClient>(path, deadline, quietSpell)) {}

namespace {

/// An Accessibility call's own limit: the messaging timeout it carries (the platform's when
/// the request leaves it out); none for every other request.
std::optional<LineClient::Clock::duration> ownLimit(const OperationForm& form,
                                                    const kelvo::JSONValue& args) {
    if (!form.keys.contains(argument::timeout)) return std::nullopt;
    double seconds = PlatformDefaults::messagingTimeout;
    if (const auto found = args.find(std::string(argument::timeout));
        found != args.end() && found->is_number() && found->get<double>() > 0) {
        seconds = found->get<double>();
    }
    return std::chrono::duration_cast<LineClient::Clock::duration>(
        std::chrono::duration<double>(seconds));
}

}  // namespace

template <class Reply, class... Arguments>
Reply SocketForwarder::ask(const OperationForm& form, Unanswered<Reply> unanswered,
                           const std::tuple<Arguments...>& arguments) {
    const std::string op(form.name);
    kelvo::JSONValue args = coding::encodeArguments(form, arguments);
    if (form.request == RequestForm::postedFields) {
        lines_->post(op, std::move(args));
        return unanswered.get();
    }
    std::optional<kelvo::JSONValue> result;
    const auto limit = ownLimit(form, args);
    try {
        result = lines_->call(op, std::move(args), limit);
    } catch (const RemoteError&) {
    } catch (const NoAnswerInTime&) {
    } catch (const DesktopGone&) {
    }
    if constexpr (std::is_void_v<Reply>) {
        return;
    } else {
        if (!result) return unanswered.get();
        try {
            return coding::decodeResult<Reply>(form, *result);
        } catch (const std::exception&) {
            return unanswered.get();
        }
    }
}

#define DESKTOP_OPERATION(Reply, name, parameters, arguments, request, reply, unanswered) \
    Reply SocketForwarder::name parameters {                                              \
        return ask(operation::name, Unanswered<Reply>{unanswered},                        \
                   std::forward_as_tuple arguments);                                      \
    }
#include "Simulator/DesktopOperations.def"

}  // namespace sim
