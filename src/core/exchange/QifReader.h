#pragma once

#include <string_view>

#include "core/exchange/ImportRow.h"

// Reads the investment records of a QIF file, as Quicken, Microsoft Money, GnuCash and
// KMyMoney write it, into import rows.
//
// What is read:
// - "!Type:Invst" records: D date, N action, Y security, I price, Q quantity, T (or U)
//   amount, O commission, M memo. P payee, L transfer account, $ amount transferred and any
//   other code are passed over: a portfolio of shares keeps no cash account.
// - "!Type:Security" records: N name and S symbol. A Y field that names a listed security
//   gets its symbol; any other takes the name itself as its symbol. The name is the company.
//   The list may stand before or after the accounts that use it.
// - Everything else ("!Account", "!Option:AutoSwitch", "!Clear:AutoSwitch", "!Type:Bank",
//   "!Type:Cat", ...) is read past.
//
// Numbers: "," thousands separators and a leading "$" are taken off; a field that is not a
// plain decimal number is a problem of its record.
//
// Dates: month first ("M/D/YY", "M/D/YYYY", "M-D-YYYY", "M.D.YYYY"), or day first when
// `dayFirst`; spaces inside are ignored ("1/ 5'05"); "YYYY-MM-DD" is always year first.
// A year after an apostrophe is of the 2000s ("'05" is 2005), which is how Quicken marks
// them. A two-digit year after "/" or "-" below 50 is 20YY, else 19YY: older programs wrote
// two digits only for the 1900s, and no one holds shares bought before 1950 in a new file.
// A date that does not exist (2/30/2005) is a problem. Dates are local midnight.
//
// Actions (any case): Buy(X) and ShrsIn buy, Sell(X) and ShrsOut sell (ShrsIn/ShrsOut at
// price 0 unless I is given); Div, CGLong, CGMid, CGShort, IntInc, MiscInc (with or without
// X) are cash dividends of T; ReinvDiv, ReinvLg, ReinvMd, ReinvSh, ReinvInt reinvest T in
// Q shares at I. A Buy or Sell without I is priced from its money: (T - O) / Q for a
// purchase, (T + O) / Q for a sale. StkSplit gives Q new shares per 10 old (Q20 is 2 for 1,
// Q15 is 3 for 2), taken as the fraction in lowest terms; Quicken rounds ratios such as
// 1 for 3 (Q3.33333), so the simplest fraction of up to 1000 old shares that is within
// 0.01% of Q/10 is taken. Cash movements, margin interest, returns of capital, short sales and
// employee option actions are problems that say the action "is not recorded"; any other
// action is "unknown".
//
// Each record gives one row or one problem, whose line is that of the record's first D or N
// line, counted from 1. A file without any "!Type:" line, or larger than 64 MiB, is
// refused as a whole in `error`. CR LF line ends and a UTF-8 byte order mark are read;
// a last record without its closing "^" is still read.
ImportRows ReadQif(std::string_view text, bool dayFirst = false);
