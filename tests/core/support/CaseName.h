#pragma once

#include <cctype>
#include <string>

// Names a parameterised case after its `name` field, made a valid test name.
struct CaseName {
    template <typename ParamInfo>
    std::string operator()(const ParamInfo& testInfo) const {
        std::string name = testInfo.param.name;
        for (char& c : name) {
            if (!std::isalnum(static_cast<unsigned char>(c))) {
                c = '_';
            }
        }
        return name;
    }
};
