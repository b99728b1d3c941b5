#pragma once

#include <memory>
#include <string>

#include "core/model/Clock.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"

// A portfolio of eight stocks and an option grant, with prices, quote moves, two alerts
// that fire and a day of samples, for the view's pictures and printing.
inline void FillDemoPortfolio(CKx7Doc& doc) {
    struct Holding {
        const char* symbol;
        float shares;
        float price;
        float market;
        int direction;
        float change;
    };
    const Holding holdings[] = {
        {"AAPL", 50, 120, 190, 1, 2.15f}, {"MSFT", 30, 250, 410, -1, -3.2f},
        {"IBM", 40, 140, 170, 0, 0},      {"KO", 100, 55, 60, 1, 0.4f},
        {"XOM", 60, 90, 105, -1, -1.1f},  {"T", 200, 20, 17, -1, -0.35f},
        {"GE", 10, 100, 160, 1, 4.5f},    {"INTC", 20, 40, 35, 0, 0},
    };
    const std::int64_t bought = LocalTimeOf(2023, 3, 1, 10);
    for (const Holding& h : holdings) {
        CPurchase& lot = doc.AppendPurchase(
            std::make_unique<CPurchase>(h.symbol, std::string(h.symbol) + " Inc.", h.shares,
                                        h.price, bought, 9.95f, "Direct Purchase", ""));
        lot.marketPrice = h.market;
        lot.quoteDirection = h.direction;
        lot.quoteChange = h.change;
    }
    CPurchase& grant = doc.AppendPurchase(
        std::make_unique<CPurchase>("MSFT", "MSFT Inc.", 20, 300, bought, 0.0f, "ISO", ""));
    grant.vestingSchedule = 0;
    grant.marketPrice = 410;
    doc.AddToRecordCount(9);
    doc.SetAlert("T", {.lowMark = 19.0, .percentDown = 5.0});
    doc.SetAlert("GE", {.highMark = 150.0});

    int minute = 0;
    for (const float factor : {1.0f, 1.01f, 0.99f, 1.02f, 1.03f, 1.0f, 1.04f}) {
        Clock::SetFixed(LocalTimeOf(2024, 6, 3, 10, minute));
        minute += 45;
        for (const auto& lot : doc.Purchases()) {
            lot->marketPrice *= factor;
        }
        doc.RecordTimelineSample();
    }
    doc.TouchLastUpdate();
    doc.SetModified(false);
}
