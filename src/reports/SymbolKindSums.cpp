#include "reports/SymbolKindSums.h"

#include "model/Purchase.h"
#include "reports/ReportText.h"

void SymbolKindSums::Add(const CPurchase& lot, float value) {
    Sums& sums = m_sums[lot.symbol];
    (lot.IsGrant() ? sums.grants : sums.ordinary) += value;
    sums.all += value;
}

float SymbolKindSums::Selected(std::string_view symbolText) const {
    const LotSelection selection = SelectLots(symbolText);
    const auto found = m_sums.find(selection.symbol);
    if (found == m_sums.end()) {
        return 0.0f;
    }
    if (!m_ungroupOptions) {
        return found->second.all;
    }
    return selection.optionsOnly ? found->second.grants : found->second.ordinary;
}
