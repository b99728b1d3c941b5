#include "core/quotes/QuoteSourcesFile.h"

#include <nlohmann/json.hpp>

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

template <typename Value, std::size_t count>
Value ValueOf(const std::pair<Value, const char*> (&names)[count], const std::string& name,
              Value fallback) {
    for (const auto& [known, text] : names) {
        if (name == text) {
            return known;
        }
    }
    return fallback;
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

// The text at `key`, or `fallback` when it is absent; a value of another kind is refused.
std::string Text(const Json& object, const char* key, const std::string& fallback = {}) {
    if (!object.contains(key)) {
        return fallback;
    }
    return object.at(key).get<std::string>();
}

QuoteSource FromJson(const Json& json) {
    QuoteSource source;
    source.name = Text(json, "name");
    source.url = Text(json, "url");
    source.separator = Text(json, "separator", source.separator);
    source.batchSize = json.value("batchSize", source.batchSize);
    source.symbolCase = ValueOf(kCases, Text(json, "symbolCase"), source.symbolCase);
    source.prefix = Text(json, "prefix");
    source.suffix = Text(json, "suffix");
    if (json.contains("overrides")) {
        for (const auto& [held, own] : json.at("overrides").items()) {
            source.overrides[held] = own.get<std::string>();
        }
    }
    source.format = ValueOf(kFormats, Text(json, "format"), source.format);
    source.csvHeader = json.value("csvHeader", source.csvHeader);
    if (json.contains("fields")) {
        const Json& fields = json.at("fields");
        source.fields = {.symbol = Text(fields, "symbol"),
                         .price = Text(fields, "price"),
                         .time = Text(fields, "time"),
                         .change = Text(fields, "change"),
                         .previousClose = Text(fields, "previousClose"),
                         .currency = Text(fields, "currency")};
    }
    source.results = Text(json, "results");
    source.pattern = Text(json, "pattern");
    if (json.contains("headers")) {
        for (const auto& [name, value] : json.at("headers").items()) {
            source.headers.emplace_back(name, value.get<std::string>());
        }
    }
    source.minSeconds = json.value("minSeconds", source.minSeconds);
    if (json.contains("history")) {
        const Json& history = json.at("history");
        source.history = {.url = Text(history, "url"),
                          .format = ValueOf(kFormats, Text(history, "format"), SourceFormat::kCsv),
                          .date = Text(history, "date"),
                          .close = Text(history, "close")};
    }
    return source;
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
    if (json.contains("sources") && json.at("sources").is_array()) {
        int number = 0;
        for (const Json& entry : json.at("sources")) {
            ++number;
            try {
                QuoteSource source = FromJson(entry);
                if (std::string problem = QuoteSourceProblem(source, taken); !problem.empty()) {
                    setup.problems.push_back("source " + std::to_string(number) + " (\"" +
                                             source.name + "\"): " + problem);
                    continue;
                }
                taken.push_back(source.name);
                setup.sources.push_back(std::move(source));
            } catch (const Json::exception&) {
                setup.problems.push_back("source " + std::to_string(number) +
                                         ": a value is of the wrong kind");
            }
        }
    }
    if (json.contains("chain") && json.at("chain").is_array()) {
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
    return json.dump(2) + "\n";
}

std::string QuoteSourceJson(const QuoteSource& source) {
    return ToJson(source).dump(2);
}
