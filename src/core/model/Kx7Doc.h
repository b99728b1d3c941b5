#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/model/AlertEntry.h"
#include "core/model/Dividend.h"
#include "core/model/DocumentChange.h"
#include "core/model/Purchase.h"
#include "core/model/RecordEntries.h"
#include "core/model/SplitEntry.h"
#include "core/model/UndoHistory.h"

class CustomLotChooser;
struct Settings;

// Which lots a symbol list takes.
enum class SymbolFilter {
    kHeldLots,  // lots with shares still held
    kGrants,    // option grants only
};

// Which shares a cost sum counts.
enum class CostMode {
    kHeld,  // price x shares held
    kSold,  // price x shares gone
    kAll,   // price x shares bought
};

// The kinds of lot met of one symbol, which give its names in a symbol list.
struct LotKinds {
    bool ordinary = false;
    bool grants = false;

    void Add(const CPurchase& lot) { (lot.IsGrant() ? grants : ordinary) = true; }
};

// Adds the names a symbol list gives `symbol` with lots of these kinds: the symbol itself,
// and the symbol with the option suffix for its grants when grants are listed apart.
void AddListedNames(std::set<std::string>& names, const std::string& symbol, const LotKinds& kinds,
                    bool ungroupOptions);

// The portfolio: owns every record and answers the queries of the views, forms, reports
// and the quote code. Operations mark it modified and tell the observers what changed;
// they never redraw or report errors, and queries give 0, an empty text or -1.0 for
// "none". Used on the UI thread only.
class CKx7Doc {
public:
    using PurchaseList = std::vector<std::unique_ptr<CPurchase>>;
    using DividendList = std::vector<std::unique_ptr<CDividend>>;

    explicit CKx7Doc(const Settings& settings);
    ~CKx7Doc();
    CKx7Doc(const CKx7Doc&) = delete;
    CKx7Doc& operator=(const CKx7Doc&) = delete;

    const Settings& AppSettings() const { return m_settings; }

    // --- Lifecycle ---------------------------------------------------------------------
    // Destroys every record and resets the counters of the run; the owner, the objective
    // and the sale numbering are kept on purpose (a new portfolio continues them).
    void ClearContents();
    // File New: cleared, untitled and unmodified.
    void NewDocument();

    bool IsModified() const { return m_modified; }
    // Sets or clears the flag alone (opened, saved, restored); observers hear kModified.
    void SetModified(bool modified = true);
    // Goes up with every change marked modified, so a copy of the portfolio can tell
    // whether it is behind; also when records are appended or cleared and when a query
    // stores other held shares in a lot, so figures drawn from the records can tell the
    // same.
    std::uint64_t Revision() const { return m_revision; }

    // --- Observers ---------------------------------------------------------------------
    // Observers are not owned and must be removed before they are destroyed. Watching
    // changes nothing, so a reader of a const portfolio may watch it too.
    void AddObserver(DocumentObserver& observer) const;
    void RemoveObserver(DocumentObserver& observer) const;
    // An operation made outside this class: marks the portfolio modified and tells the
    // observers.
    void MarkChanged(const ChangeSet& changes);
    // Holds back the announcements of the operations made while it lives and then makes
    // them as one, so a file read or a batch of quotes is one change, not thousands.
    class ChangeBatch {
    public:
        explicit ChangeBatch(CKx7Doc& doc) : m_doc(doc) { ++m_doc.m_batchDepth; }
        ~ChangeBatch();
        ChangeBatch(const ChangeBatch&) = delete;
        ChangeBatch& operator=(const ChangeBatch&) = delete;

    private:
        CKx7Doc& m_doc;
    };

    // --- Undo and redo -------------------------------------------------------------------
    // Every operation below is one step of the history. The operations made while an
    // UndoStep lives make one step together, under its label (an import, a price update),
    // and are told to the observers when the step is made. A run of steps made with
    // `joinsRun` under one label is one step (the price updates of a timer).
    class UndoStep {
    public:
        UndoStep(CKx7Doc& doc, std::string label, bool joinsRun = false);
        ~UndoStep();
        UndoStep(const UndoStep&) = delete;
        UndoStep& operator=(const UndoStep&) = delete;

    private:
        CKx7Doc& m_doc;
        ChangeBatch m_batch;
    };
    bool CanUndo() const { return m_history.CanUndo(); }
    bool CanRedo() const { return m_history.CanRedo(); }
    // What the next undo or redo puts back or makes again, as "Sale of XYZ".
    const std::string& UndoLabel() const { return m_history.UndoLabel(); }
    const std::string& RedoLabel() const { return m_history.RedoLabel(); }
    // Each puts the portfolio in the state before or after one step, records, order, held
    // shares, sale numbering and alerts alike, and marks it unmodified when that state is
    // the saved one. Nothing happens while a step is being made.
    void Undo();
    void Redo();
    // Every step's label, oldest first, and how many of them are done.
    std::vector<std::string> HistoryLabels() const { return m_history.Labels(); }
    std::size_t HistoryDone() const { return m_history.DoneCount(); }
    // Forgets every step, as after opening a file.
    void ClearHistory() { m_history.Clear(!m_modified); }
    // Changes made outside the operations name what they change first, so that their step
    // can put it back: the quote fields of `lots`, every lot of exactly `symbol` in
    // document order, as the caller found them.
    void KeepQuotes(std::string_view symbol, const std::vector<CPurchase*>& lots);

    // Recomputes every lot's held shares as of the clock, so that every figure drawn from
    // them counts vesting and expiry up to today. Not a change to save.
    void BringHeldSharesUpToDate();

    // Read from a file only in part: saving over that file would lose what was not read.
    // Cleared with the contents and by a save under another name.
    bool IsIncomplete() const { return m_incomplete; }
    void SetIncomplete(bool incomplete) { m_incomplete = incomplete; }

    const std::string& PathName() const { return m_pathName; }
    void SetPathName(std::string pathName) { m_pathName = std::move(pathName); }
    // "Untitled" for a new portfolio, the file name otherwise.
    std::string Title() const;

    // --- Records -----------------------------------------------------------------------
    const PurchaseList& Purchases() const { return m_purchases; }
    PurchaseList& Purchases() { return m_purchases; }
    const DividendList& Dividends() const { return m_dividends; }
    DividendList& Dividends() { return m_dividends; }
    const std::vector<SplitEntry>& Splits() const { return m_splits; }
    std::vector<SplitEntry>& Splits() { return m_splits; }
    const std::vector<AlertEntry>& Alerts() const { return m_alerts; }

    // Append at the tail; neither counts the record nor marks the document modified, but
    // the revision goes up.
    CPurchase& AppendPurchase(std::unique_ptr<CPurchase> purchase);
    CDividend& AppendDividend(std::unique_ptr<CDividend> dividend);
    void AppendSplit(SplitEntry split);

    std::int32_t RecordCount() const { return m_recordCount; }
    void AddToRecordCount(std::int32_t records) { m_recordCount += records; }
    std::int32_t NextSaleNumber() const { return m_nextSaleNumber; }
    void SetNextSaleNumber(std::int32_t number) { m_nextSaleNumber = number; }

    // The selection rule of the valuing queries: the lot's symbol equals the symbol without
    // its option suffix and, with the ungroup setting on, a suffixed symbol takes grants
    // only and a plain one ordinary lots only.
    bool LotMatches(const CPurchase& lot, std::string_view symbol) const;

    // --- Queries -----------------------------------------------------------------------
    // Distinct lot symbols (grants under "<symbol>-O" with the ungroup setting on), sorted
    // in byte order. No filter takes every lot.
    std::vector<std::string> SymbolNames(std::optional<SymbolFilter> filter = std::nullopt) const;

    // The company name of the first lot of the symbol (suffix stripped); `name` is left
    // unchanged when no lot matches. Returns whether one did.
    bool CompanyName(std::string_view symbol, std::string& name) const;
    float MarketPrice(std::string_view symbol) const;
    std::int32_t QuoteDirection(std::string_view symbol) const;
    float QuoteChange(std::string_view symbol) const;
    float SymbolValue(std::string_view symbol) const;
    float TotalValue() const;
    // These two recompute and store each lot's `availableShares`.
    float OptionSharesHeld(std::string_view symbol);
    float ExercisableShares(std::string_view symbol);
    float CostSum(std::string_view symbol, CostMode mode) const;
    float DividendTotal(std::string_view symbol) const;

    AlertThresholds AlertOf(std::string_view symbol) const;
    std::int32_t AlertState(std::string_view symbol) const;

    const std::string& OwnerName() const { return m_ownerName; }
    const std::string& PortfolioObjective() const { return m_portfolioObjective; }

    std::int64_t LastUpdateTime() const { return m_lastUpdateTime; }
    void SetLastUpdateTime(std::int64_t time) { m_lastUpdateTime = time; }

    // -1.0 past the newest sample; the index equal to the count is the terminator.
    float TimelineValue(int index) const;
    int TimelineCount() const { return static_cast<int>(m_timelineValues.size()); }
    std::int64_t TimelineFirstTime() const { return m_timelineFirstTime; }
    std::int64_t TimelineLastTime() const { return m_timelineLastTime; }

    // --- Updates -----------------------------------------------------------------------
    void SetMarketPrice(std::string_view symbol, float price);
    void ApplyQuote(std::string_view symbol, float price, std::int32_t direction, float change,
                    float extra);
    void SetAlert(std::string_view symbol, const AlertThresholds& thresholds);
    // Every alert at once, as read from a file: distinct symbols, in order.
    void ReplaceAlerts(std::vector<AlertEntry> alerts);
    void RemoveAlert(std::string_view symbol);
    void SetAlertState(std::string_view symbol, std::int32_t value);  // not a change to save
    void SetPortfolioInformation(std::string owner, std::string objective);
    void TouchLastUpdate();       // not a change to save
    void RecordTimelineSample();  // not a change to save

    // --- Purchases and sales -------------------------------------------------------------
    CPurchase& Purchase(PurchaseEntry entry);
    // Matches the sale against the lots of the symbol by its method. A lot-by-lot sale
    // asks the chooser set below and does nothing without one.
    void Sell(const SaleEntry& sale);
    void SetCustomLotChooser(CustomLotChooser* chooser) { m_lotChooser = chooser; }
    // One sale's records exactly as given, each on its own lot, under one new sale number:
    // how an import records a sale whose lots its file names. Parts that name no lot of
    // this document, or no shares, are left out.
    struct SalePart {
        CPurchase* lot = nullptr;
        float shares = 0;
        float price = 0;  // CSale::kExpiredPrice for options that expired
        std::int64_t date = 0;
        float commission = 0;
        std::string comment;
    };
    void RecordSaleParts(const std::vector<SalePart>& parts);

    // --- Option grants -----------------------------------------------------------------
    CPurchase& ReceiveGrant(GrantEntry entry);
    // Every option still held in the symbol's grants expires, vested or not, under one
    // sale number.
    void ExpireOptions(std::string_view symbol, std::int64_t date, const std::string& comment);

    // --- Dividends, splits and symbol changes ----------------------------------------------
    CDividend& RecordDividend(DividendEntry entry);
    // `newShares` for `oldShares`; a ratio that is not positive changes nothing.
    void StockSplit(std::string_view symbol, std::int32_t newShares, std::int32_t oldShares,
                    std::int64_t date);
    void ChangeSymbol(std::string_view oldSymbol, std::string_view newSymbol,
                      const std::string& newCompanyName);

    // --- The record editor -------------------------------------------------------------
    // Each edit stores the fields and brings the lot's held shares in line with its sales.
    void EditPurchase(CPurchase& lot, const PurchaseEdit& edit);
    void EditSale(CSale& sale, const SaleEdit& edit);
    void EditDividend(CDividend& dividend, const DividendEdit& edit);
    // Each destroys the record at once; a sale gives its shares back to its lot.
    void RemovePurchase(const CPurchase& lot);
    void RemoveSale(const CSale& sale);
    void RemoveDividend(const CDividend& dividend);

private:
    // The lots a FIFO or LIFO sale of `symbol` may draw on.
    bool LotSellable(const CPurchase& lot, std::string_view symbol) const;
    void SellInOrder(const SaleEntry& sale, bool lastFirst);
    void SellCustom(const SaleEntry& sale);

    void NoteHeldShares(float before, float after);
    // The history keeps the state of a record before an operation first changes it.
    void KeepLot(CPurchase& lot);
    void KeepDividend(CDividend& dividend);
    // A record just appended at the tail, or one removed at `index` by the history's own
    // edit, which keeps it.
    template <typename List>
    void NoteAppended(List& list) {
        m_history.Add(std::make_unique<ListEdit<List>>(list, list.size() - 1));
    }
    template <typename List>
    void RemoveAt(List& list, std::size_t index) {
        auto edit = std::make_unique<ListEdit<List>>(list, index);
        edit->Apply();
        m_history.Add(std::move(edit));
    }
    void ShowHistoryMove(std::optional<ChangeSet> changes);
    void Announce(const ChangeSet& changes);

    const CPurchase* FirstLotOf(std::string_view symbol) const;
    const CPurchase* LastLotExactly(std::string_view symbol) const;
    AlertEntry* FindAlert(std::string_view symbol);
    const AlertEntry* FindAlert(std::string_view symbol) const;

    const Settings& m_settings;
    PurchaseList m_purchases;
    std::vector<SplitEntry> m_splits;
    std::vector<AlertEntry> m_alerts;
    DividendList m_dividends;
    std::string m_ownerName;
    std::string m_portfolioObjective;
    std::int32_t m_recordCount = 0;
    std::int32_t m_nextSaleNumber = 0;
    std::int64_t m_lastUpdateTime = 0;
    std::vector<float> m_timelineValues;
    std::int64_t m_timelineLastTime = 0;
    std::int64_t m_timelineFirstTime = 0;
    bool m_modified = false;
    bool m_incomplete = false;
    std::uint64_t m_revision = 0;
    std::string m_pathName;
    CustomLotChooser* m_lotChooser = nullptr;
    mutable std::vector<DocumentObserver*> m_observers;
    int m_batchDepth = 0;
    ChangeSet m_heldBack;
    UndoHistory m_history;
};
