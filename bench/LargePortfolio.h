#pragma once

class CKx7Doc;

// Fills a cleared document with about `records` lots and sale records over 200 symbols:
// lots bought at scattered dates, every tenth one an option grant, most sales drawing on
// two lots of different dates under one sale number, some grants expired, and a cash or
// share dividend every hundred lots. The same count always gives the same portfolio.
void BuildLargePortfolio(CKx7Doc& doc, int records);
