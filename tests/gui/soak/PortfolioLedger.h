#pragma once

#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CKx7Doc;

// The soak's own account of what its user entered, kept apart from the document: plain
// lots and the sale records taken from them, with the sale rules worked out here again,
// so that the saved portfolio can be checked against something the program did not make.
class PortfolioLedger {
public:
    struct Sale {
        float shares = 0;
        float price = 0;
        float commission = 0;
        std::int32_t number = 0;
    };
    struct Lot {
        std::string symbol;
        std::string company;
        float shares = 0;
        float price = 0;
        float commission = 0;
        std::vector<Sale> sales;

        float Held() const;
    };

    // Every record is dated `date`: the clock stands still while the soak runs.
    explicit PortfolioLedger(std::int64_t date) : m_date(date) {}

    void Buy(const std::string& symbol, const std::string& company, float shares, float price,
             float commission);
    // Takes the shares from the symbol's lots, oldest first or newest first.
    void SellInOrder(const std::string& symbol, float shares, float price, float commission,
                     bool newestFirst);
    // Takes the shares from the open lot at `openIndex` among the symbol's open lots.
    void SellFromLot(const std::string& symbol, std::size_t openIndex, float shares, float price,
                     float commission);

    float Held(const std::string& symbol) const;
    // The symbol's lots with shares left, in the order the lot-by-lot sale lists them.
    std::vector<const Lot*> OpenLots(const std::string& symbol) const;
    std::string CompanyOf(const std::string& symbol) const;
    std::int32_t NextSaleNumber() const { return m_nextSaleNumber; }
    std::size_t LotCount() const { return m_lots.size(); }

    // The records into `doc`, as the portfolio file code would read them back.
    void BuildDocument(CKx7Doc& doc) const;

private:
    Lot* NthOpenLot(const std::string& symbol, std::size_t openIndex);

    std::int64_t m_date;
    std::vector<Lot> m_lots;
    std::int32_t m_nextSaleNumber = 0;
};

// Every record of a portfolio and what a reader of the file can tell about it, one line
// per lot or sale, for comparing two portfolios record by record.
QStringList DescribeRecords(const CKx7Doc& doc);
