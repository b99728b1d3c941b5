#include "desktop/forms/FormCommands.h"

#include <string>

#include "core/model/Dividend.h"
#include "core/model/Kx7Doc.h"
#include "core/settings/Settings.h"
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

std::string AllSymbols(const CKx7Doc& doc) {
    std::string list;
    doc.SymbolList(list);
    return list;
}

}  // namespace

namespace FormCommands {

bool PurchaseStock(QWidget* parent, CKx7Doc& doc) {
    CPurchaseDlg form(doc, AllSymbols(doc), nullptr, parent);
    if (form.exec() == QDialog::Accepted) {
        doc.Purchase(form.Symbol(), form.CompanyName(), form.Shares(), form.Price(), form.Date(),
                     form.Commission(), form.PurchaseType(), form.Comment());
    }
    return true;
}

bool ReceiveGrant(QWidget* parent, CKx7Doc& doc) {
    CRecGrantDlg form(doc, AllSymbols(doc), parent);
    if (form.exec() == QDialog::Accepted) {
        doc.ReceiveGrant(form.Symbol(), form.CompanyName(), form.Shares(), form.StrikePrice(),
                         form.Date(), form.OptionType(), form.VestingSchedule(), form.GrantId(),
                         form.Comment());
    }
    return true;
}

bool SellStock(QWidget* parent, CKx7Doc& doc) {
    CSaleDlg form(doc, parent);
    if (form.exec() == QDialog::Accepted) {
        FormLotChooser chooser(parent);
        const ScopedLotChooser lent(doc, chooser);
        doc.Sell(form.Symbol(), form.Shares(), form.Price(), form.Date(), form.Commission(),
                 form.Method(), form.Comment());
    }
    return true;
}

bool RecordDividend(QWidget* parent, CKx7Doc& doc) {
    CDividendDlg form(doc, nullptr, parent);
    if (form.exec() == QDialog::Accepted) {
        const bool cash = form.Value() != 0.0f;
        doc.RecordDividend(form.Symbol(), cash ? CDividend::kCash : CDividend::kShares,
                           cash ? form.Value() : form.Shares(), form.Date(), form.Comment());
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
    std::string held;
    doc.SymbolList(held, CKx7Doc::kHeldLots);
    CStockSplitDlg form(held, doc.AppSettings().dateMonthFirst, parent);
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
