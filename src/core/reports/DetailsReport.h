#pragma once

#include <cstddef>
#include <optional>
#include <string>

class CKx7Doc;

// One line per purchase, sold-out lots included: "company (symbol)", date, price, shares.
std::string BuildDetailsList(const CKx7Doc& doc);

// Everything about the purchase at `position` (from 0, in document order) and its sales;
// nothing when there is no such purchase.
std::optional<std::string> BuildPurchaseDetails(const CKx7Doc& doc, std::size_t position);
