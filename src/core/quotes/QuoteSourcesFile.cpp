#include "core/quotes/QuoteSourcesFile.h"

#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <utility>

namespace {

using Json = nlohmann::ordered_json;

constexpr std::pair<SymbolCase, const char*> kCases[] = {
    {SymbolCase::kAsHeld, "as held"}, {SymbolCase::kUpper, "upper"}, {SymbolCase::kLower, "lower"}};
constexpr std::pair<SourceFormat, const char*> kFormats[] = {
    {SourceFormat::kCsv, "csv"}, {SourceFormat::kJson, "json"}, {SourceFormat::kRegex, "regex"}};

template <typename Value, std::size_t count>
const char* NameOf(const std::pair<Value, const char*> (&names)[count], Value value) {
    for (const auto& [known, name] : names) {
        if (known == value) {
            return name;
        }
    }
    return names[0].second;
}

Json ToJson(const QuoteSource& source) {
    Json headers = Json::object();
    for (const auto& [name, value] : source.headers) {
        headers[name] = value;
    }
    Json overrides = Json::object();
    for (const auto& [held, own] : source.overrides) {
        overrides[held] = own;
    }
    const SourceFields& fields = source.fields;
    return {{"name", source.name},
            {"url", source.url},
            {"separator", source.separator},
            {"batchSize", source.batchSize},
            {"symbolCase", NameOf(kCases, source.symbolCase)},
            {"prefix", source.prefix},
            {"suffix", source.suffix},
            {"overrides", overrides},
            {"format", NameOf(kFormats, source.format)},
            {"csvHeader", source.csvHeader},
            {"fields",
             {{"symbol", fields.symbol},
              {"price", fields.price},
              {"time", fields.time},
              {"change", fields.change},
              {"previousClose", fields.previousClose},
              {"currency", fields.currency}}},
            {"results", source.results},
            {"pattern", source.pattern},
            {"headers", headers},
            {"minSeconds", source.minSeconds},
            {"history",
             {{"url", source.history.url},
              {"format", NameOf(kFormats, source.history.format)},
              {"date", source.history.date},
              {"close", source.history.close}}}};
}

// A value of the wrong kind in a definition, named by its key. It leaves the definition
// out: a value read as something the user did not write (an override list taken for one
// override of the empty symbol, a batch size of 2^32 + 1 taken for 1) would fetch what
// nobody asked for.
class WrongValue : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads the keys of one JSON object; a key that is absent takes its default.
class Keys {
public:
    Keys(const Json& object, std::string prefix) : m_object(object), m_prefix(std::move(prefix)) {}

    std::string Text(const char* key, const std::string& fallback = {}) const {
        const Json* value = Find(key);
        if (value == nullptr) {
            return fallback;
        }
        if (!value->is_string()) {
            throw WrongValue(Name(key) + " is no text");
        }
        return value->get<std::string>();
    }

    int Whole(const char* key, int fallback) const {
        const Json* value = Find(key);
        if (value == nullptr) {
            return fallback;
        }
        if (!value->is_number_integer()) {
            throw WrongValue(Name(key) + " is no whole number");
        }
        const bool fits = value->is_number_unsigned()
                              ? value->get<std::uint64_t>() <=
                                    static_cast<std::uint64_t>(std::numeric_limits<int>::max())
                              : value->get<std::int64_t>() >= std::numeric_limits<int>::min() &&
                                    value->get<std::int64_t>() <= std::numeric_limits<int>::max();
        if (!fits) {
            throw WrongValue(Name(key) + " is out of range");
        }
        return value->get<int>();
    }

    bool Flag(const char* key, bool fallback) const {
        const Json* value = Find(key);
        if (value == nullptr) {
            return fallback;
        }
        if (!value->is_boolean()) {
            throw WrongValue(Name(key) + " is not true or false");
        }
        return value->get<bool>();
    }

    std::vector<std::pair<std::string, std::string>> Pairs(const char* key) const {
        std::vector<std::pair<std::string, std::string>> pairs;
        const Json* value = Find(key);
        if (value == nullptr) {
            return pairs;
        }
        if (!value->is_object()) {
            throw WrongValue(Name(key) + " is no object of texts");
        }
        for (const auto& [name, text] : value->items()) {
            if (!text.is_string()) {
                throw WrongValue(Name(key) + " is no object of texts");
            }
            pairs.emplace_back(name, text.get<std::string>());
        }
        return pairs;
    }

    template <typename Value, std::size_t count>
    Value Named(const std::pair<Value, const char*> (&names)[count], const char* key,
                Value fallback) const {
        if (Find(key) == nullptr) {
            return fallback;
        }
        const std::string text = Text(key);
        std::string known;
        for (const auto& [value, name] : names) {
            if (text == name) {
                return value;
            }
            known += (known.empty() ? "" : ", ") + std::string(name);
        }
        throw WrongValue(Name(key) + " is \"" + text + "\", not one of " + known);
    }

    // The keys of the object at `key`; an absent one has none.
    Keys Inner(const char* key) const {
        const Json* value = Find(key);
        if (value != nullptr && !value->is_object()) {
            throw WrongValue(Name(key) + " is no object");
        }
        return Keys(value == nullptr ? Empty() : *value, m_prefix + key + ".");
    }

private:
    static const Json& Empty() {
        static const Json empty = Json::object();
        return empty;
    }

    const Json* Find(const char* key) const {
        const auto found = m_object.find(key);
        return found == m_object.end() ? nullptr : &*found;
    }

    std::string Name(const char* key) const { return "\"" + m_prefix + key + "\""; }

    const Json& m_object;
    std::string m_prefix;
};

QuoteSource FromJson(const Json& json) {
    const Keys keys(json, "");
    QuoteSource source;
    source.name = keys.Text("name");
    source.url = keys.Text("url");
    source.separator = keys.Text("separator", source.separator);
    source.batchSize = keys.Whole("batchSize", source.batchSize);
    source.symbolCase = keys.Named(kCases, "symbolCase", source.symbolCase);
    source.prefix = keys.Text("prefix");
    source.suffix = keys.Text("suffix");
    for (auto& [held, own] : keys.Pairs("overrides")) {
        source.overrides[held] = std::move(own);
    }
    source.format = keys.Named(kFormats, "format", source.format);
    source.csvHeader = keys.Flag("csvHeader", source.csvHeader);
    const Keys fields = keys.Inner("fields");
    source.fields = {.symbol = fields.Text("symbol"),
                     .price = fields.Text("price"),
                     .time = fields.Text("time"),
                     .change = fields.Text("change"),
                     .previousClose = fields.Text("previousClose"),
                     .currency = fields.Text("currency")};
    source.results = keys.Text("results");
    source.pattern = keys.Text("pattern");
    source.headers = keys.Pairs("headers");
    source.minSeconds = keys.Whole("minSeconds", source.minSeconds);
    const Keys history = keys.Inner("history");
    source.history = {.url = history.Text("url"),
                      .format = history.Named(kFormats, "format", source.history.format),
                      .date = history.Text("date"),
                      .close = history.Text("close")};
    return source;
}

// How a problem names a definition: its place in the list, and its name when it has one.
std::string Label(const Json& entry, int number) {
    std::string label = "source " + std::to_string(number);
    if (entry.is_object()) {
        const auto name = entry.find("name");
        if (name != entry.end() && name->is_string()) {
            label += " (\"" + name->get<std::string>() + "\")";
        }
    }
    return label;
}

// Text that is no UTF-8 (a name typed in another encoding) is written with U+FFFD in its
// place rather than making the writer throw.
std::string Dumped(const Json& json, int indent) {
    return json.dump(indent, ' ', false, Json::error_handler_t::replace);
}

std::vector<std::string> BuiltInNames() {
    std::vector<std::string> names;
    for (const QuoteSource& source : AllQuoteSources({})) {
        names.push_back(source.name);
    }
    return names;
}

}  // namespace

QuoteSourcesSetup ReadQuoteSourcesJson(std::string_view text) {
    QuoteSourcesSetup setup;
    if (text.size() > kQuoteSourcesFileLimit) {
        setup.problems.push_back("the file is larger than 1 MiB");
        return setup;
    }
    Json json;
    try {
        json = Json::parse(text);
    } catch (const Json::exception& error) {
        setup.problems.push_back(std::string("the file is no JSON: ") + error.what());
        return setup;
    }
    if (!json.is_object()) {
        setup.problems.push_back("the file holds no JSON object");
        return setup;
    }
    std::vector<std::string> taken = BuiltInNames();
    if (json.contains("sources") && !json.at("sources").is_array()) {
        setup.problems.push_back("\"sources\" is no list; no source was read");
    } else if (json.contains("sources")) {
        int number = 0;
        for (const Json& entry : json.at("sources")) {
            ++number;
            const std::string label = Label(entry, number);
            if (!entry.is_object()) {
                setup.problems.push_back(label + ": it is no JSON object");
                continue;
            }
            try {
                QuoteSource source = FromJson(entry);
                if (std::string problem = QuoteSourceProblem(source, taken); !problem.empty()) {
                    setup.problems.push_back(label + ": " + problem);
                    continue;
                }
                taken.push_back(source.name);
                setup.sources.push_back(std::move(source));
            } catch (const WrongValue& wrong) {
                setup.problems.push_back(label + ": " + wrong.what());
            } catch (const Json::exception&) {
                setup.problems.push_back(label + ": a value is of the wrong kind");
            }
        }
    }
    if (json.contains("chain") && !json.at("chain").is_array()) {
        setup.problems.push_back("\"chain\" is no list; no chain was read");
    } else if (json.contains("chain")) {
        setup.chainGiven = true;
        for (const Json& name : json.at("chain")) {
            if (name.is_string()) {
                setup.chain.push_back(name.get<std::string>());
            }
        }
    }
    return setup;
}

std::string QuoteSourcesJson(const std::vector<QuoteSource>& sources,
                             const std::vector<std::string>& chain) {
    Json list = Json::array();
    for (const QuoteSource& source : sources) {
        list.push_back(ToJson(source));
    }
    const Json json = {{"chain", chain}, {"sources", list}};
    return Dumped(json, 2) + "\n";
}

std::string QuoteSourceJson(const QuoteSource& source) {
    return Dumped(ToJson(source), 2);
}
