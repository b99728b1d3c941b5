#pragma once

#include <memory>
#include <string>

#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"

// Puts records into a document directly, without the transaction operations, so that
// the queries can be tested on exactly the lots a case needs.
inline CPurchase& AddLot(CKx7Doc& doc, const std::string& symbol, float shares, float price,
                         std::int64_t date = 0, const std::string& company = "Company") {
    return doc.AppendPurchase(std::make_unique<CPurchase>(symbol, company, shares, price, date,
                                                          0.0f, "Direct Purchase", ""));
}

inline CPurchase& AddGrant(CKx7Doc& doc, const std::string& symbol, float shares, float strike,
                           int schedule = 0, std::int64_t date = 0) {
    CPurchase& lot = AddLot(doc, symbol, shares, strike, date);
    lot.purchaseType = "ISO";
    lot.vestingSchedule = schedule;
    return lot;
}
