#include "desktop/reports/TaxYears.h"

#include <algorithm>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/reports/TaxReport.h"

std::vector<std::string> TaxYearItems(const CKx7Doc& document) {
    const int currentYear = ToLocalDate(Clock::Now()).year;
    int first = currentYear;
    int last = currentYear;
    for (const auto& lot : document.Purchases()) {
        for (const auto& sale : lot->sales) {
            const int year = ToLocalDate(sale.date).year;
            first = std::min(first, year);
            last = std::max(last, year);
        }
    }
    std::vector<std::string> items{std::string(kTaxAllYears)};
    for (int year = first; year <= last; ++year) {
        items.push_back(std::to_string(year));
    }
    return items;
}
