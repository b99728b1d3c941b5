#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

// Hashes a symbol held as a string or a view alike, so a map keyed by symbol can be asked
// with a view without building a string.
struct SymbolHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view symbol) const noexcept {
        return std::hash<std::string_view>{}(symbol);
    }
};

// Figures per exact symbol.
template <typename Value>
using SymbolMap = std::unordered_map<std::string, Value, SymbolHash, std::equal_to<>>;
