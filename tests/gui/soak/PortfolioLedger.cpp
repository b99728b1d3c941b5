#include "soak/PortfolioLedger.h"

#include <QString>
#include <algorithm>
#include <stdexcept>

#include "core/model/Kx7Doc.h"
#include "core/model/Purchase.h"
#include "core/model/Sale.h"
#include "core/support/DocBuilder.h"

float PortfolioLedger::Lot::Held() const {
    float held = shares;
    for (const Sale& sale : sales) {
        held -= sale.shares;
    }
    return held;
}

void PortfolioLedger::Buy(const std::string& symbol, const std::string& company, float shares,
                          float price, float commission) {
    m_lots.push_back(Lot{symbol, company, shares, price, commission, {}});
}

void PortfolioLedger::SellInOrder(const std::string& symbol, float shares, float price,
                                  float commission, bool newestFirst) {
    std::vector<Lot*> lots;
    for (Lot& lot : m_lots) {
        if (lot.symbol == symbol && lot.Held() > 0.0f) {
            lots.push_back(&lot);
        }
    }
    if (newestFirst) {
        std::reverse(lots.begin(), lots.end());
    }
    float left = shares;
    float commissionLeft = commission;
    for (Lot* lot : lots) {
        if (left <= 0.0f) {
            break;
        }
        const float portion = std::min(lot->Held(), left);
        lot->sales.push_back(Sale{portion, price, commissionLeft, m_nextSaleNumber});
        commissionLeft = 0.0f;
        left -= portion;
    }
    ++m_nextSaleNumber;
}

void PortfolioLedger::SellFromLot(const std::string& symbol, std::size_t openIndex, float shares,
                                  float price, float commission) {
    NthOpenLot(symbol, openIndex)
        ->sales.push_back(Sale{shares, price, commission, m_nextSaleNumber});
    ++m_nextSaleNumber;
}

float PortfolioLedger::Held(const std::string& symbol) const {
    float held = 0.0f;
    for (const Lot& lot : m_lots) {
        if (lot.symbol == symbol) {
            held += lot.Held();
        }
    }
    return held;
}

std::vector<const PortfolioLedger::Lot*> PortfolioLedger::OpenLots(
    const std::string& symbol) const {
    std::vector<const Lot*> open;
    for (const Lot& lot : m_lots) {
        if (lot.symbol == symbol && lot.Held() > 0.0f) {
            open.push_back(&lot);
        }
    }
    return open;
}

PortfolioLedger::Lot* PortfolioLedger::NthOpenLot(const std::string& symbol,
                                                  std::size_t openIndex) {
    for (Lot& lot : m_lots) {
        if (lot.symbol != symbol || lot.Held() <= 0.0f) {
            continue;
        }
        if (openIndex == 0) {
            return &lot;
        }
        --openIndex;
    }
    throw std::out_of_range("no such open lot of " + symbol);
}

std::string PortfolioLedger::CompanyOf(const std::string& symbol) const {
    for (const Lot& lot : m_lots) {
        if (lot.symbol == symbol) {
            return lot.company;
        }
    }
    return {};
}

void PortfolioLedger::BuildDocument(CKx7Doc& doc) const {
    for (const Lot& entry : m_lots) {
        CPurchase& lot =
            AddLot(doc, entry.symbol, entry.shares, entry.price, m_date, entry.company);
        lot.commission = entry.commission;
        for (const Sale& sale : entry.sales) {
            lot.AddSale(sale.shares, sale.price, m_date, sale.commission, "", sale.number);
        }
        lot.RecomputeHeldShares();
        doc.AddToRecordCount(1 + static_cast<std::int32_t>(entry.sales.size()));
    }
    doc.SetNextSaleNumber(m_nextSaleNumber);
}

QStringList DescribeRecords(const CKx7Doc& doc) {
    QStringList lines;
    for (const auto& lot : doc.Purchases()) {
        lines << QStringLiteral("lot %1 (%2) %3@%4 comm %5 %6 held %7 type %8 comment '%9'")
                     .arg(QString::fromStdString(lot->symbol),
                          QString::fromStdString(lot->companyName))
                     .arg(lot->shares)
                     .arg(lot->price)
                     .arg(lot->commission)
                     .arg(lot->date)
                     .arg(lot->availableShares)
                     .arg(QString::fromStdString(lot->purchaseType),
                          QString::fromStdString(lot->comment));
        for (const auto& sale : lot->sales) {
            lines << QStringLiteral("  sale #%1 %2@%3 comm %4 %5 comment '%6'")
                         .arg(sale.saleNumber)
                         .arg(sale.shares)
                         .arg(sale.price)
                         .arg(sale.commission)
                         .arg(sale.date)
                         .arg(QString::fromStdString(sale.comment));
        }
    }
    lines << QStringLiteral("records %1, next sale #%2")
                 .arg(doc.RecordCount())
                 .arg(doc.NextSaleNumber());
    return lines;
}
