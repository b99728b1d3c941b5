#pragma once

class CKx7Doc;

// Fills a cleared document with a small, realistic portfolio made through the ordinary
// operations: several symbols, FIFO, LIFO and lot-by-lot sales, a grant with a monthly
// schedule, cash and share dividends, a split, alerts, owner and objective.
void BuildDemoPortfolio(CKx7Doc& doc);
