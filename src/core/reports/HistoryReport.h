#pragma once

#include <optional>
#include <string>

class CKx7Doc;

// The purchases and sales of the last `days` days (every one when `days` is empty), one
// fixed-width line each, in date order.
std::string BuildHistoryReport(const CKx7Doc& doc, std::optional<int> days);
