#pragma once

// The commands of the main frame that open a form. Each builds what its form needs from
// the document, runs it modally and on OK calls the document operation with the values
// read back. Each returns whether the main window must be redrawn: after every form that
// may have changed the portfolio, and after any close where the window always redraws.

class CKx7Doc;
class QWidget;
struct Settings;

namespace FormCommands {

bool PurchaseStock(QWidget* parent, CKx7Doc& doc);
bool ReceiveGrant(QWidget* parent, CKx7Doc& doc);
bool SellStock(QWidget* parent, CKx7Doc& doc);
bool RecordDividend(QWidget* parent, CKx7Doc& doc);
bool ExpireOptions(QWidget* parent, CKx7Doc& doc);
bool EditAlerts(QWidget* parent, CKx7Doc& doc);
bool StockSplit(QWidget* parent, CKx7Doc& doc);
bool SymbolChange(QWidget* parent, CKx7Doc& doc);
bool PortfolioInformation(QWidget* parent, CKx7Doc& doc);
bool EditDatabase(QWidget* parent, CKx7Doc& doc);
bool EditPreferences(QWidget* parent, Settings& settings);
bool ManualUpdate(QWidget* parent, CKx7Doc& doc);

}  // namespace FormCommands
