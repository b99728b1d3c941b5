#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/figures/CustomLotTable.h"
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

    // The lines the custom sale form shows of the lots it was shown, each ended by ";".
    std::string ShownLines() const {
        const CustomLotTable table(shown);
        std::string lines;
        for (int i = 0; i < table.Count(); ++i) {
            lines += table.Line(i) + ";";
        }
        return lines;
    }

    CustomSaleRequest shown;
    int asked = 0;

private:
    std::optional<std::vector<float>> m_answer;
};
