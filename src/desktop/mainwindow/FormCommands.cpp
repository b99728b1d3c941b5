#include "desktop/mainwindow/FormCommands.h"

#include <string>

#include "core/model/Dividend.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
#include "desktop/app/SettingsFile.h"
#include "desktop/forms/DividendDlg.h"
#include "desktop/forms/EditAlertDlg.h"
#include "desktop/forms/EditDlg.h"
#include "desktop/forms/ExpireOptionsDlg.h"
#include "desktop/forms/FormLotChooser.h"
#include "desktop/forms/PurchaseDlg.h"
#include "desktop/forms/RecGrantDlg.h"
#include "desktop/forms/SaleDlg.h"
#include "desktop/forms/StockSplitDlg.h"
#include "desktop/forms/SymbolChangeDlg.h"
#include "desktop/mainwindow/PortfolioDlg.h"
#include "desktop/mainwindow/Preferences.h"
#include "desktop/mainwindow/ValueDlg.h"
#include "desktop/quotes/QuoteSourcesPage.h"

namespace {

// Lends the document a lot chooser for the length of one sale.
class ScopedLotChooser {
public:
    ScopedLotChooser(CKx7Doc& doc, CustomLotChooser& chooser) : m_doc(doc) {
        m_doc.SetCustomLotChooser(&chooser);
    }
    ~ScopedLotChooser() { m_doc.SetCustomLotChooser(nullptr); }
    ScopedLotChooser(const ScopedLotChooser&) = delete;
    ScopedLotChooser& operator=(const ScopedLotChooser&) = delete;

private:
    CKx7Doc& m_doc;
};

}  // namespace

namespace FormCommands {

bool PurchaseStock(QWidget* parent, CKx7Doc& doc) {
    CPurchaseDlg form(doc, doc.SymbolNames(), nullptr, parent);
    if (form.exec() == QDialog::Accepted) {
        doc.Purchase({.symbol = form.Symbol(),
                      .companyName = form.CompanyName(),
                      .shares = form.Shares(),
                      .price = form.Price(),
                      .date = form.Date(),
                      .commission = form.Commission(),
                      .purchaseType = form.PurchaseType(),
                      .comment = form.Comment()});
    }
    return true;
}

bool ReceiveGrant(QWidget* parent, CKx7Doc& doc) {
    CRecGrantDlg form(doc, doc.SymbolNames(), parent);
    if (form.exec() == QDialog::Accepted) {
        doc.ReceiveGrant({.symbol = form.Symbol(),
                          .companyName = form.CompanyName(),
                          .shares = form.Shares(),
                          .strikePrice = form.StrikePrice(),
                          .date = form.Date(),
                          .optionType = form.OptionType(),
                          .vestingSchedule = form.VestingSchedule(),
                          .grantId = form.GrantId(),
                          .comment = form.Comment()});
    }
    return true;
}

bool SellStock(QWidget* parent, CKx7Doc& doc) {
    CSaleDlg form(doc, parent);
    if (form.exec() == QDialog::Accepted) {
        FormLotChooser chooser(parent);
        const ScopedLotChooser lent(doc, chooser);
        doc.Sell({.symbol = form.Symbol(),
                  .shares = form.Shares(),
                  .price = form.Price(),
                  .date = form.Date(),
                  .commission = form.Commission(),
                  .method = form.Method(),
                  .comment = form.Comment()});
    }
    return true;
}

bool RecordDividend(QWidget* parent, CKx7Doc& doc) {
    CDividendDlg form(doc, nullptr, parent);
    if (form.exec() == QDialog::Accepted) {
        const bool cash = form.Value() != 0.0f;
        doc.RecordDividend({.symbol = form.Symbol(),
                            .kind = cash ? DividendKind::kCash : DividendKind::kShares,
                            .amount = cash ? form.Value() : form.Shares(),
                            .date = form.Date(),
                            .comment = form.Comment()});
    }
    return true;
}

bool ExpireOptions(QWidget* parent, CKx7Doc& doc) {
    CExpireOptionsDlg form(doc, parent);
    if (form.exec() != QDialog::Accepted || !form.SellAllRemaining()) {
        return false;
    }
    doc.ExpireOptions(form.Symbol(), form.Date(), form.Comment());
    return true;
}

bool EditAlerts(QWidget* parent, CKx7Doc& doc) {
    CEditAlertDlg form(doc, parent);
    form.exec();
    return true;
}

bool StockSplit(QWidget* parent, CKx7Doc& doc) {
    CStockSplitDlg form(doc.SymbolNames(SymbolFilter::kHeldLots), doc.AppSettings().dateMonthFirst,
                        parent);
    if (form.exec() != QDialog::Accepted) {
        return false;
    }
    doc.StockSplit(form.Symbol(), form.NewShares(), form.OldShares(), form.Date());
    return true;
}

bool SymbolChange(QWidget* parent, CKx7Doc& doc) {
    CSymbolChangeDlg form(doc, parent);
    if (form.exec() != QDialog::Accepted) {
        return false;
    }
    doc.ChangeSymbol(form.OldSymbol(), form.NewSymbol(), form.NewCompanyName());
    return true;
}

bool PortfolioInformation(QWidget* parent, CKx7Doc& doc) {
    CPortfolioDlg form(doc.OwnerName(), doc.PortfolioObjective(), parent);
    if (form.exec() == QDialog::Accepted) {
        doc.SetPortfolioInformation(form.Owner(), form.Objective());
    }
    return true;
}

bool EditDatabase(QWidget* parent, CKx7Doc& doc) {
    CEditDlg form(doc, parent);
    form.exec();
    return true;
}

bool EditPreferences(QWidget* parent, Settings& settings) {
    CPreferencesDlg form(settings, parent);
    // A test of one of the three described servers asks the hosts the settings file names.
    form.SourcesPage().SetQuoteHosts(LoadQuoteHosts(SettingsFilePath()));
    if (form.exec() != QDialog::Accepted) {
        return false;
    }
    form.CopyTo(settings);
    return true;
}

bool ManualUpdate(QWidget* parent, CKx7Doc& doc) {
    CValueDlg form(doc, parent);
    form.exec();
    return true;
}

}  // namespace FormCommands
