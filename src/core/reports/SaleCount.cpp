#include "core/reports/SaleCount.h"

#include "core/model/Kx7Doc.h"

std::size_t SaleRecordCount(const CKx7Doc& doc) {
    std::size_t count = 0;
    for (const auto& lot : doc.Purchases()) {
        count += lot->sales.size();
    }
    return count;
}
