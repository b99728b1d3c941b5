#include "core/model/OptionSuffix.h"

bool HasOptionSuffix(std::string_view symbol) {
    return symbol.size() > kOptionSuffix.size() && symbol.ends_with(kOptionSuffix);
}

std::string StripOptionSuffix(std::string_view symbol) {
    if (HasOptionSuffix(symbol)) {
        symbol.remove_suffix(kOptionSuffix.size());
    }
    return std::string(symbol);
}

std::string WithOptionSuffix(std::string_view symbol) {
    return std::string(symbol) + std::string(kOptionSuffix);
}
