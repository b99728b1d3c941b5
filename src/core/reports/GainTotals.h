#pragma once

#include <string_view>

class CKx7Doc;

// The per-symbol quantities of the gains figures. Each compares the lot and dividend
// symbols with `symbol` exactly, so an entry carrying the option suffix gets 0.

// Purchase price x shares over every sale of the symbol's lots, expiries left out.
float RealizedCost(const CKx7Doc& doc, std::string_view symbol);
// Sale price x shares over the same sales.
float RealizedValue(const CKx7Doc& doc, std::string_view symbol);
// Purchase price x shares still held over the symbol's lots.
float HeldCost(const CKx7Doc& doc, std::string_view symbol);

// The sum of the gains of the realised rows (every symbol whose realised cost is not 0):
// value - cost + dividends. Summed in single precision in symbol-list order.
float RealizedGainTotal(const CKx7Doc& doc);
// The same over the potential rows (every symbol with shares held today): market price x
// shares held - cost of the shares held + dividends. Refreshes the lots' held shares.
float PotentialGainTotal(CKx7Doc& doc);
