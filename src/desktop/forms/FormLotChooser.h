#pragma once

#include "core/model/CustomLotChooser.h"

class QWidget;

// Answers the document's lot-by-lot question with the "Sale Custom" form.
class FormLotChooser final : public CustomLotChooser {
public:
    explicit FormLotChooser(QWidget* parent) : m_parent(parent) {}

    std::optional<std::vector<float>> ChooseLots(const CustomSaleRequest& request) override;

private:
    QWidget* m_parent;
};
