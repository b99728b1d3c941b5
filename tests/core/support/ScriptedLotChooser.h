#pragma once

#include <optional>
#include <vector>

#include "core/model/CustomLotChooser.h"

// Answers the lot-by-lot choice from a script and keeps what it was shown.
class ScriptedLotChooser final : public CustomLotChooser {
public:
    explicit ScriptedLotChooser(std::optional<std::vector<float>> answer)
        : m_answer(std::move(answer)) {}

    std::optional<std::vector<float>> ChooseLots(const CustomSaleRequest& request) override {
        shown = request;
        ++asked;
        return m_answer;
    }

    CustomSaleRequest shown;
    int asked = 0;

private:
    std::optional<std::vector<float>> m_answer;
};
