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

Json SplitJson(const SplitEntry& split) {
    return Json{{"symbol", split.symbol},
                {"date", split.date},
                {"newShares", split.newShares},
                {"oldShares", split.oldShares}};
}

Json AlertJson(const AlertEntry& alert) {
    return Json{{"symbol", alert.symbol},
                {"lowMark", DoubleValue(alert.lowMark)},
                {"highMark", DoubleValue(alert.highMark)},
                {"percentDown", DoubleValue(alert.percentDown)},
                {"percentUp", DoubleValue(alert.percentUp)}};
}

Json DividendJson(const CDividend& dividend) {
    return Json{{"symbol", dividend.symbol},
                {"dividendKind", dividend.dividendKind},
                {"amount", FloatValue(dividend.amount)},
                {"date", dividend.date},
                {"comment", dividend.comment}};
}

// Writes the top object one member, and an array one record, at a time, laid out as one
// dump of the whole with an indent of two would be: a portfolio of millions of records
// never stands in memory as JSON.
class JsonWriter {
public:
    explicit JsonWriter(std::FILE* out) : m_out(out) { Put("{"); }

    void Member(std::string_view key, const Json& value) {
        Key(key);
        Indented(value, "  ");
    }

    template <typename Records, typename ToJson>
    void Array(std::string_view key, const Records& records, ToJson toJson) {
        Key(key);
        if (records.empty()) {
            Put("[]");
            return;
        }
        Put("[");
        const char* separator = "\n    ";
        for (const auto& record : records) {
            Put(separator);
            Indented(toJson(record), "    ");
            separator = ",\n    ";
        }
        Put("\n  ]");
    }

    void End() { Put("\n}\n"); }

private:
    void Key(std::string_view key) {
        Put(m_first ? "\n  " : ",\n  ");
        m_first = false;
        Put(Dump(Json(key)) + ": ");
    }

    // The value's own lines, each after the first set in by `indent`.
    void Indented(const Json& value, std::string_view indent) {
        std::string text = Dump(value);
        for (std::size_t at = text.find('\n'); at != std::string::npos;
             at = text.find('\n', at + 1)) {
            text.insert(at + 1, indent);
        }
        Put(text);
    }

    // Texts read from a file are always valid UTF-8; the replacement only guards the output.
    static std::string Dump(const Json& value) {
        return value.dump(2, ' ', false, Json::error_handler_t::replace);
    }

    void Put(std::string_view text) { std::fwrite(text.data(), 1, text.size(), m_out); }

    std::FILE* m_out;
    bool m_first = true;
};

}  // namespace

void WritePortfolioJson(std::FILE* out, const CKx7Doc& doc, const Kx7ReadResult& read) {
    JsonWriter json(out);
    json.Member("version", read.version);
    json.Member("generation", read.generation);
    json.Member("nextSaleNumber", doc.NextSaleNumber());
    json.Member("owner", doc.OwnerName());
    json.Member("objective", doc.PortfolioObjective());
    json.Array("purchases", doc.Purchases(), [](const auto& lot) { return PurchaseJson(*lot); });
    json.Array("splits", doc.Splits(), SplitJson);
    json.Array("alerts", doc.Alerts(), AlertJson);
    json.Array("dividends", doc.Dividends(),
               [](const auto& dividend) { return DividendJson(*dividend); });
    if (!read.warning.empty()) {
        json.Member("warning", read.warning);
    }
    json.End();
}
