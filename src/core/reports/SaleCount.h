#pragma once

#include <cstddef>

class CKx7Doc;

// The sale records of every lot, expiries included: what a report listing every sale
// reserves room for.
std::size_t SaleRecordCount(const CKx7Doc& doc);
