#include "PortfolioJson.h"

#include <cmath>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "core/model/Kx7Doc.h"
#include "core/model/Kx7File.h"

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
                {"dividendKind", static_cast<int>(dividend.dividendKind)},
                {"amount", FloatValue(dividend.amount)},
                {"date", dividend.date},
                {"comment", dividend.comment}};
}

// Writes JSON as it is made, laid out as one dump of the whole with an indent of two would
// be: only one small record at a time stands in memory as JSON, however many records the
// portfolio, or one lot's sales, hold.
class JsonWriter {
public:
    explicit JsonWriter(std::FILE* out) : m_out(out) {}

    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }

    // Starts a member of the open object; its value follows.
    void Key(std::string_view key) {
        NextItem();
        Put(Dump(Json(key)));
        Put(": ");
        m_afterKey = true;
    }

    // A whole value: a member's after Key, or an element of the open array.
    void Value(const Json& value) {
        BeforeValue();
        // The value's own lines, each after the first set in to the current depth.
        const std::string text = Dump(value);
        const std::string indent = Indent();
        std::string indented;
        indented.reserve(text.size());
        for (const char c : text) {
            indented += c;
            if (c == '\n') {
                indented += indent;
            }
        }
        Put(indented);
    }

    void Member(std::string_view key, const Json& value) {
        Key(key);
        Value(value);
    }

    template <typename Records, typename WriteRecord>
    void ArrayMember(std::string_view key, const Records& records, WriteRecord writeRecord) {
        Key(key);
        BeginArray();
        for (const auto& record : records) {
            writeRecord(record);
        }
        EndArray();
    }

    // Ends the output with a line end; false when not every byte went out.
    bool Finish() {
        Put("\n");
        return std::fflush(m_out) == 0 && std::ferror(m_out) == 0;
    }

private:
    void Open(char bracket) {
        BeforeValue();
        Put(std::string_view(&bracket, 1));
        m_emptyLevels.push_back(true);
    }

    void Close(char bracket) {
        const bool empty = m_emptyLevels.back();
        m_emptyLevels.pop_back();
        if (!empty) {
            Put("\n");
            Put(Indent());
        }
        Put(std::string_view(&bracket, 1));
    }

    void BeforeValue() {
        if (m_afterKey) {
            m_afterKey = false;
        } else if (!m_emptyLevels.empty()) {
            NextItem();
        }
    }

    // The separator and indent before a member or an element.
    void NextItem() {
        Put(m_emptyLevels.back() ? "\n" : ",\n");
        m_emptyLevels.back() = false;
        Put(Indent());
    }

    std::string Indent() const { return std::string(2 * m_emptyLevels.size(), ' '); }

    // Texts read from a file are always valid UTF-8; the replacement only guards the output.
    static std::string Dump(const Json& value) {
        return value.dump(2, ' ', false, Json::error_handler_t::replace);
    }

    void Put(std::string_view text) { std::fwrite(text.data(), 1, text.size(), m_out); }

    std::FILE* m_out;
    // One entry per open object or array: whether nothing is in it yet.
    std::vector<bool> m_emptyLevels;
    bool m_afterKey = false;
};

void WritePurchase(JsonWriter& json, const CPurchase& lot) {
    json.BeginObject();
    json.Member("symbol", lot.symbol);
    json.Member("companyName", lot.companyName);
    json.Member("date", lot.date);
    json.Member("commission", FloatValue(lot.commission));
    json.Member("purchaseType", lot.purchaseType);
    json.Member("comment", lot.comment);
    json.Member("shares", FloatValue(lot.shares));
    json.Member("price", FloatValue(lot.price));
    json.Member("availableShares", FloatValue(lot.availableShares));
    json.Member("marketPrice", FloatValue(lot.marketPrice));
    json.Member("vestingSchedule", lot.vestingSchedule);
    json.Member("grantId", lot.grantId);
    json.ArrayMember("sales", lot.sales, [&json](const auto& sale) { json.Value(SaleJson(sale)); });
    json.EndObject();
}

}  // namespace

bool WritePortfolioJson(std::FILE* out, const CKx7Doc& doc, const Kx7ReadResult& read) {
    JsonWriter json(out);
    json.BeginObject();
    json.Member("version", read.version);
    json.Member("generation", read.generation);
    json.Member("nextSaleNumber", doc.NextSaleNumber());
    json.Member("owner", doc.OwnerName());
    json.Member("objective", doc.PortfolioObjective());
    json.ArrayMember("purchases", doc.Purchases(),
                     [&json](const auto& lot) { WritePurchase(json, *lot); });
    json.ArrayMember("splits", doc.Splits(),
                     [&json](const SplitEntry& split) { json.Value(SplitJson(split)); });
    json.ArrayMember("alerts", doc.Alerts(),
                     [&json](const AlertEntry& alert) { json.Value(AlertJson(alert)); });
    json.ArrayMember("dividends", doc.Dividends(),
                     [&json](const auto& dividend) { json.Value(DividendJson(*dividend)); });
    if (!read.warning.empty()) {
        json.Member("warning", read.warning);
    }
    json.EndObject();
    return json.Finish();
}
