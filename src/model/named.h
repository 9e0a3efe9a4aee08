#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

// One value of a closed set and the name options, files and outputs give it. Each set is one
// table beside its type, read both to parse a name and to print a value, so the two cannot
// disagree.
template <typename T>
struct TNamed {
    std::string_view Name;
    T Value;
};

template <typename T>
std::optional<T> ValueNamed(std::span<const TNamed<T>> names, std::string_view name) {
    for (const auto& [n, v] : names) {
        if (n == name) return v;
    }
    return std::nullopt;
}

template <typename T>
std::string_view NameOf(std::span<const TNamed<T>> names, T value) {
    for (const auto& [n, v] : names) {
        if (v == value) return n;
    }
    return {};
}

// The names as a message lists what an option accepts: "a, b, c".
template <typename T>
std::string NameList(std::span<const TNamed<T>> names) {
    std::string list;
    for (const auto& named : names) list += (list.empty() ? "" : ", ") + std::string(named.Name);
    return list;
}
