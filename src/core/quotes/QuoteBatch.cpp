#include "core/quotes/QuoteBatch.h"

#include "core/settings/Settings.h"

namespace {

constexpr int kListedBatchSize = 10;  // American Stock Exchange and NASDAQ
constexpr int kYahooBatchSize = 5;
constexpr const char* kSymbolKey = "&symbol=";

int BatchSize(QuoteServer source) {
    switch (source) {
        case QuoteServer::kAmex:
        case QuoteServer::kNasdaq:
            return kListedBatchSize;
        case QuoteServer::kYahoo:
            return kYahooBatchSize;
        default:
            return 0;
    }
}

void AddSymbol(QuoteServer source, std::string& query, const std::string& symbol) {
    if (source == QuoteServer::kYahoo) {
        if (!query.empty()) {
            query += '+';
        }
        query += symbol;
        return;
    }
    query += kSymbolKey;
    query += symbol;
}

}  // namespace

std::vector<QuoteBatch> QuoteBatches(QuoteServer source, const std::vector<std::string>& symbols) {
    const int size = BatchSize(source);
    std::vector<QuoteBatch> batches;
    if (size == 0) {
        return batches;
    }
    QuoteBatch batch;
    int position = 0;
    for (; position < static_cast<int>(symbols.size()); ++position) {
        const std::string& symbol = symbols[static_cast<std::size_t>(position)];
        if (symbol.empty()) {
            break;
        }
        AddSymbol(source, batch.query, symbol);
        ++batch.count;
        if (batch.count == size) {
            batch.last = position;
            batches.push_back(std::move(batch));
            batch = QuoteBatch{};
        }
    }
    if (batch.count > 0) {
        batch.last = position - 1;
        if (source != QuoteServer::kYahoo) {
            for (int padding = batch.count; padding < size; ++padding) {
                batch.query += kSymbolKey;
            }
        }
        batches.push_back(std::move(batch));
    }
    return batches;
}

bool IsFullBatch(QuoteServer source, const QuoteBatch& batch) {
    return batch.count == BatchSize(source);
}

std::string QuoteRequestPath(QuoteServer source, const QuoteBatch& batch) {
    switch (source) {
        case QuoteServer::kAmex:
            return "quote.dll?mode=stock&page=quick" + batch.query;
        case QuoteServer::kYahoo:
            return "/d?s=" + batch.query + "&f=1lc";
        case QuoteServer::kNasdaq:
            return "/quote.dll?mode=stock" + batch.query + "&multi.x=5&multi.y=13";
        default:
            return {};
    }
}

std::vector<std::string> BatchSymbols(const QuoteBatch& batch,
                                      const std::vector<std::string>& symbols) {
    std::vector<std::string> taken;
    for (int position = batch.last - batch.count + 1; position <= batch.last; ++position) {
        if (position >= 0 && position < static_cast<int>(symbols.size())) {
            taken.push_back(symbols[static_cast<std::size_t>(position)]);
        }
    }
    return taken;
}
