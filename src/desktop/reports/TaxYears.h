#pragma once

#include <string>
#include <vector>

class CKx7Doc;

// The items of the tax report's year box: "Show All", then every year from that of the
// earliest sale to the current year (or to the latest sale's year, should a sale be
// dated later), oldest first. Without sales the current year stands alone.
std::vector<std::string> TaxYearItems(const CKx7Doc& document);
