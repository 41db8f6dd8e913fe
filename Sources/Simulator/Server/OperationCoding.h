#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

#include "Base/JSON/JSONCoding.h"
#include "Simulator/DesktopOperation.h"
#include "Simulator/Server/DesktopMessages.h"

// How an operation of DesktopOperations.def crosses the socket: its arguments become the
// request's "args" and its returned value the reply's "result", as the list's forms say. Both
// ends use these, so that no operation is spelled in either.

namespace sim::coding {

template <class T>
struct IsOptional : std::false_type {};
template <class T>
struct IsOptional<std::optional<T>> : std::true_type {};

/// Whether the arguments can be one value's own fields: one argument, not optional.
template <class... Arguments>
struct OwnFields : std::false_type {};
template <class Argument>
struct OwnFields<Argument> : std::bool_constant<!IsOptional<Argument>::value> {};
template <class Tuple>
struct OwnFieldsOf;
template <class... Arguments>
struct OwnFieldsOf<std::tuple<Arguments...>> : OwnFields<Arguments...> {};

/// What the desktop takes for an argument a request left out; none for one it must have.
std::optional<kelvo::JSONValue> leftOutArgument(std::string_view key);

/// The request's "args".
template <class... Arguments>
kelvo::JSONValue encodeArguments(const OperationForm& form,
                                 const std::tuple<Arguments...>& arguments) {
    if constexpr (OwnFields<std::decay_t<Arguments>...>::value) {
        if (form.request != RequestForm::named) return kelvo::encodeJSON(std::get<0>(arguments));
    }
    kelvo::JSONValue args = kelvo::JSONValue::object();
    std::size_t index = 0;
    const auto put = [&](const auto& value) {
        const std::string key(form.keys[index++]);
        using Value = std::decay_t<decltype(value)>;
        if constexpr (IsOptional<Value>::value) {
            kelvo::putIfPresent(args, key, value);
        } else {
            args[key] = kelvo::encodeJSON(value);
        }
    };
    std::apply([&](const auto&... values) { (put(values), ...); }, arguments);
    return args;
}

/// One named argument of a request (throws DecodingError).
template <class T>
T decodeArgument(const kelvo::JSONNode& args, std::string_view key) {
    const std::string name(key);
    if constexpr (IsOptional<T>::value) {
        return args.decodeIfPresent<typename T::value_type>(name);
    } else {
        if (const auto fallback = leftOutArgument(key)) {
            if (auto given = args.decodeIfPresent<T>(name)) return std::move(*given);
            return kelvo::JSONNode(*fallback).decode<T>();
        }
        return args.decode<T>(name);
    }
}

/// The arguments of a request, as the tuple `Arguments` of plain values (throws
/// DecodingError).
template <class Arguments>
Arguments decodeArguments(const OperationForm& form, const kelvo::JSONNode& args) {
    if constexpr (OwnFieldsOf<Arguments>::value) {
        if (form.request != RequestForm::named) {
            return Arguments{args.decode<std::tuple_element_t<0, Arguments>>()};
        }
    }
    return [&]<std::size_t... I>(std::index_sequence<I...>) {
        return Arguments{decodeArgument<std::tuple_element_t<I, Arguments>>(args, form.keys[I])...};
    }
    (std::make_index_sequence<std::tuple_size_v<Arguments>>());
}

/// The reply's "result" for what the operation returned.
template <class Reply>
kelvo::JSONValue encodeResult(const OperationForm& form, const Reply& value) {
    switch (form.reply.kind) {
        case ReplyForm::Kind::key: {
            kelvo::JSONValue result = kelvo::JSONValue::object();
            const std::string key(form.reply.key);
            if constexpr (IsOptional<Reply>::value) {
                kelvo::putIfPresent(result, key, value);
            } else {
                result[key] = kelvo::encodeJSON(value);
            }
            return result;
        }
        case ReplyForm::Kind::ownFields:
            if constexpr (!IsOptional<Reply>::value) return kelvo::encodeJSON(value);
            break;
        case ReplyForm::Kind::nothing:
            break;
    }
    return kelvo::JSONValue::object();
}

/// What the operation returned, read from the reply's "result" (throws DecodingError).
template <class Reply>
Reply decodeResult(const OperationForm& form, const kelvo::JSONValue& result) {
    const kelvo::JSONNode node(result);
    if constexpr (IsOptional<Reply>::value) {
        return node.decodeIfPresent<typename Reply::value_type>(std::string(form.reply.key));
    } else {
        if (form.reply.kind == ReplyForm::Kind::ownFields) return node.decode<Reply>();
        return node.decode<Reply>(std::string(form.reply.key));
    }
}

}  // namespace sim::coding
