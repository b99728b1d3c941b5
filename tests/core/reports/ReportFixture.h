#pragma once

#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "support/TestClock.h"

// A small portfolio made through the document operations, with every kind of row the
// reports print. Now is 15 June 2024, noon; sale numbers run 0 to 3.
//
//   lot 0  ACME  Acme Corp        100 @ 10.00  01/10/2020  commission 10  "first"
//   lot 1  ACME  Acme Corp         50 @ 20.00  03/05/2021  commission 5
//   lot 2  ACME  grant 1YA        200 @  5.00  06/01/2019  "ISO", id G-1
//   lot 3  BETA  Beta Industries   40 @ 25.00  07/20/2022  type "Other"
//   lot 4  ACME  grant 12MM       100 @  8.00  06/15/2023  "NQ", id G-2 (entered last)
//
//   sale 0  ACME   120 @ 15  02/14/2022  commission 12, FIFO: 100 from lot 0, 20 from lot 1
//   sale 1  ACME-O 150 @ 30  08/01/2023  from lot 2
//   sale 2  expiry of the 50 options left in lot 2, 01/02/2024
//   sale 3  BETA    10 @ 30  08/01/2023  commission 5, from lot 3
//
//   dividends: BETA cash 12.50 on 03/15/2023, ACME 2 shares on 09/01/2023
//   market prices: ACME 25, BETA 28
class ReportFixture {
public:
    ReportFixture() : clock(At(2024, 6, 15)) { Build(); }

    void Build() {
        doc.Purchase({.symbol = "ACME",
                      .companyName = "Acme Corp",
                      .shares = 100,
                      .price = 10.0f,
                      .date = At(2020, 1, 10),
                      .commission = 10.0f,
                      .purchaseType = "Direct Purchase",
                      .comment = "first"});
        doc.Purchase({.symbol = "ACME",
                      .companyName = "Acme Corp",
                      .shares = 50,
                      .price = 20.0f,
                      .date = At(2021, 3, 5),
                      .commission = 5.0f,
                      .purchaseType = "Direct Purchase",
                      .comment = ""});
        doc.ReceiveGrant({.symbol = "ACME",
                          .companyName = "Acme Corp",
                          .shares = 200,
                          .strikePrice = 5.0f,
                          .date = At(2019, 6, 1),
                          .optionType = "ISO",
                          .vestingSchedule = 0,
                          .grantId = "G-1",
                          .comment = ""});
        doc.Purchase({.symbol = "BETA",
                      .companyName = "Beta Industries",
                      .shares = 40,
                      .price = 25.0f,
                      .date = At(2022, 7, 20),
                      .commission = 0.0f,
                      .purchaseType = "Other",
                      .comment = ""});

        doc.Sell({.symbol = "ACME",
                  .shares = 120,
                  .price = 15.0f,
                  .date = At(2022, 2, 14),
                  .commission = 12.0f,
                  .method = SaleMethod::kFifo,
                  .comment = "trim"});
        doc.Sell({.symbol = "ACME-O",
                  .shares = 150,
                  .price = 30.0f,
                  .date = At(2023, 8, 1),
                  .commission = 0.0f,
                  .method = SaleMethod::kFifo,
                  .comment = "exercise"});
        doc.ExpireOptions("ACME-O", At(2024, 1, 2), "expired");
        doc.Sell({.symbol = "BETA",
                  .shares = 10,
                  .price = 30.0f,
                  .date = At(2023, 8, 1),
                  .commission = 5.0f,
                  .method = SaleMethod::kFifo,
                  .comment = ""});

        doc.ReceiveGrant({.symbol = "ACME",
                          .companyName = "Acme Corp",
                          .shares = 100,
                          .strikePrice = 8.0f,
                          .date = At(2023, 6, 15),
                          .optionType = "NQ",
                          .vestingSchedule = 8,
                          .grantId = "G-2",
                          .comment = ""});

        doc.RecordDividend({.symbol = "BETA",
                            .kind = DividendKind::kCash,
                            .amount = 12.5f,
                            .date = At(2023, 3, 15),
                            .comment = ""});
        doc.RecordDividend({.symbol = "ACME",
                            .kind = DividendKind::kShares,
                            .amount = 2.0f,
                            .date = At(2023, 9, 1),
                            .comment = ""});

        doc.SetMarketPrice("ACME", 25.0f);
        doc.SetMarketPrice("BETA", 28.0f);
    }

    ScopedClock clock;
    Settings settings;
    CKx7Doc doc{settings};
};
