#include "PortfolioJson.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "model/Kx7Doc.h"
#include "model/Kx7File.h"

namespace {

using Json = nlohmann::ordered_json;

// JSON has no infinities or NaN, and a file may hold them; they are shown by name.
Json NonFinite(double value) {
    if (std::isnan(value)) {
        return "NaN";
    }
    return value > 0 ? "Infinity" : "-Infinity";
}

// Nine significant digits: every float reads back as itself, and 0.1f shows as 0.100000001
// rather than the seventeen digits of its exact double value.
Json FloatValue(float value) {
    if (!std::isfinite(value)) {
        return NonFinite(value);
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", static_cast<double>(value));
    return Json::parse(text);
}

// The shortest text that reads back as the same double (at most 17 digits).
Json DoubleValue(double value) {
    if (!std::isfinite(value)) {
        return NonFinite(value);
    }
    return value;
}

Json SaleJson(const CSale& sale) {
    return Json{{"shares", FloatValue(sale.shares)},
                {"price", FloatValue(sale.price)},
                {"commission", FloatValue(sale.commission)},
                {"saleNumber", sale.saleNumber},
                {"date", sale.date},
                {"comment", sale.comment}};
}

Json PurchaseJson(const CPurchase& lot) {
    Json sales = Json::array();
    for (const auto& sale : lot.sales) {
        sales.push_back(SaleJson(*sale));
    }
    return Json{{"symbol", lot.symbol},
                {"companyName", lot.companyName},
                {"date", lot.date},
                {"commission", FloatValue(lot.commission)},
                {"purchaseType", lot.purchaseType},
                {"comment", lot.comment},
                {"shares", FloatValue(lot.shares)},
                {"price", FloatValue(lot.price)},
                {"availableShares", FloatValue(lot.availableShares)},
                {"marketPrice", FloatValue(lot.marketPrice)},
                {"vestingSchedule", lot.vestingSchedule},
                {"grantId", lot.grantId},
                {"sales", std::move(sales)}};
}

}  // namespace

std::string PortfolioJson(const CKx7Doc& doc, const Kx7ReadResult& read) {
    Json purchases = Json::array();
    for (const auto& lot : doc.Purchases()) {
        purchases.push_back(PurchaseJson(*lot));
    }
    Json splits = Json::array();
    for (const SplitEntry& split : doc.Splits()) {
        splits.push_back(Json{{"symbol", split.symbol},
                              {"date", split.date},
                              {"newShares", split.newShares},
                              {"oldShares", split.oldShares}});
    }
    Json alerts = Json::array();
    for (const AlertEntry& alert : doc.Alerts()) {
        alerts.push_back(Json{{"symbol", alert.symbol},
                              {"lowMark", DoubleValue(alert.lowMark)},
                              {"highMark", DoubleValue(alert.highMark)},
                              {"percentDown", DoubleValue(alert.percentDown)},
                              {"percentUp", DoubleValue(alert.percentUp)}});
    }
    Json dividends = Json::array();
    for (const auto& dividend : doc.Dividends()) {
        dividends.push_back(Json{{"symbol", dividend->symbol},
                                 {"dividendKind", dividend->dividendKind},
                                 {"amount", FloatValue(dividend->amount)},
                                 {"date", dividend->date},
                                 {"comment", dividend->comment}});
    }
    Json root{{"version", read.version},
              {"generation", read.generation},
              {"nextSaleNumber", doc.NextSaleNumber()},
              {"owner", doc.OwnerName()},
              {"objective", doc.PortfolioObjective()},
              {"purchases", std::move(purchases)},
              {"splits", std::move(splits)},
              {"alerts", std::move(alerts)},
              {"dividends", std::move(dividends)}};
    if (!read.warning.empty()) {
        root["warning"] = read.warning;
    }
    // Texts read from a file are always valid UTF-8; the replacement only guards the output.
    return root.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}
