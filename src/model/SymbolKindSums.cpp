#include "model/SymbolKindSums.h"

#include "model/OptionSuffix.h"
#include "model/Purchase.h"

void SymbolKindSums::Add(const CPurchase& lot, float value) {
    m_sums[lot.symbol].Add(lot.IsGrant(), value);
}

float SymbolKindSums::Selected(std::string_view symbolText) const {
    const bool optionsOnly = HasOptionSuffix(symbolText);
    if (optionsOnly) {
        symbolText.remove_suffix(kOptionSuffix.size());
    }
    const auto found = m_sums.find(symbolText);
    return found != m_sums.end() ? found->second.Selected(m_ungroupOptions, optionsOnly) : 0.0f;
}
