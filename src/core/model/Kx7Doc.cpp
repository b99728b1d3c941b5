#include "core/model/Kx7Doc.h"

#include <algorithm>
#include <bit>
#include <filesystem>
#include <set>
#include <string_view>

#include "core/model/Clock.h"
#include "core/model/KindSums.h"
#include "core/model/LocalTime.h"
#include "core/model/OptionSuffix.h"
#include "core/model/SymbolMap.h"
#include "core/settings/Settings.h"

namespace {

bool Held(const CPurchase& lot) {
    return HasShares(lot.availableShares);
}

// What a quote stores in a lot.
struct QuoteFields {
    float marketPrice = 0;
    std::int32_t direction = 0;
    float change = 0;
    float extra = 0;

    bool operator==(const QuoteFields&) const = default;
};

// The lots of exactly `symbol`, in document order.
std::vector<CPurchase*> LotsOfExactly(const CKx7Doc::PurchaseList& lots, std::string_view symbol) {
    std::vector<CPurchase*> found;
    for (const auto& lot : lots) {
        if (lot->symbol == symbol) {
            found.push_back(lot.get());
        }
    }
    return found;
}

// The quote fields of every lot of exactly one symbol, found again by walking the lots,
// and held as one value when the lots agree (they nearly always do), so a price update
// of every symbol keeps a few bytes per symbol rather than per lot.
class SymbolQuotesSwap final : public StateSwap {
public:
    // `lots`: those of `symbol` in `all`, as the caller found them.
    SymbolQuotesSwap(const CKx7Doc::PurchaseList& all, std::string_view symbol,
                     const std::vector<CPurchase*>& lots)
        : m_all(all), m_symbol(symbol), m_fields(Read(lots)) {}

    void Apply() override {
        const std::vector<CPurchase*> lots = LotsOfExactly(m_all, m_symbol);
        std::vector<QuoteFields> present = Read(lots);
        for (std::size_t index = 0; index < lots.size(); ++index) {
            const QuoteFields& fields = m_fields[m_fields.size() == 1 ? 0 : index];
            lots[index]->marketPrice = fields.marketPrice;
            lots[index]->quoteDirection = fields.direction;
            lots[index]->quoteChange = fields.change;
            lots[index]->quoteExtra = fields.extra;
        }
        m_fields = std::move(present);
    }
    std::string_view Part() const override { return m_symbol; }

private:
    static std::vector<QuoteFields> Read(const std::vector<CPurchase*>& lots) {
        std::vector<QuoteFields> fields;
        for (const CPurchase* lot : lots) {
            fields.push_back(
                {lot->marketPrice, lot->quoteDirection, lot->quoteChange, lot->quoteExtra});
        }
        if (!fields.empty() && std::all_of(fields.begin(), fields.end(), [&](const auto& each) {
                return each == fields.front();
            })) {
            fields.resize(1);
        }
        return fields;
    }

    const CKx7Doc::PurchaseList& m_all;
    std::string m_symbol;
    std::vector<QuoteFields> m_fields;
};

}  // namespace

CKx7Doc::UndoStep::UndoStep(CKx7Doc& doc, std::string label, bool joinsRun)
    : m_doc(doc), m_batch(doc) {
    if (!m_doc.m_history.Begin(std::move(label), joinsRun)) {
        return;
    }
    // Kept for every step, and dropped at its end where unchanged.
    m_doc.m_history.Add(
        std::make_unique<ValueSwap<std::int32_t>>(m_doc.m_recordCount, m_doc.m_recordCount));
    m_doc.m_history.Add(
        std::make_unique<ValueSwap<std::int32_t>>(m_doc.m_nextSaleNumber, m_doc.m_nextSaleNumber));
    m_doc.m_history.Add(
        std::make_unique<ValueSwap<std::string>>(m_doc.m_ownerName, m_doc.m_ownerName));
    m_doc.m_history.Add(std::make_unique<ValueSwap<std::string>>(m_doc.m_portfolioObjective,
                                                                 m_doc.m_portfolioObjective));
}

CKx7Doc::UndoStep::~UndoStep() {
    m_doc.m_history.End();
}

void CKx7Doc::Undo() {
    ShowHistoryMove(m_history.Undo());
}

void CKx7Doc::Redo() {
    ShowHistoryMove(m_history.Redo());
}

void CKx7Doc::ShowHistoryMove(std::optional<ChangeSet> changes) {
    if (!changes) {
        return;
    }
    m_modified = !m_history.AtClean();
    ++m_revision;
    changes->Add(ChangeKind::kModified);
    Announce(*changes);
}

void CKx7Doc::KeepLot(CPurchase& lot) {
    if (m_history.Recording() && m_history.FirstTouch(&lot)) {
        m_history.Add(
            std::make_unique<ValueSwap<LotFields>>(lot, static_cast<const LotFields&>(lot)));
    }
}

void CKx7Doc::KeepDividend(CDividend& dividend) {
    if (m_history.Recording() && m_history.FirstTouch(&dividend)) {
        m_history.Add(std::make_unique<ValueSwap<CDividend>>(dividend, dividend));
    }
}

void CKx7Doc::KeepQuotes(std::string_view symbol, const std::vector<CPurchase*>& lots) {
    if (m_history.Recording()) {
        m_history.Add(std::make_unique<SymbolQuotesSwap>(m_purchases, symbol, lots));
    }
}

void AddListedNames(std::set<std::string>& names, const std::string& symbol, const LotKinds& kinds,
                    bool ungroupOptions) {
    if (kinds.ordinary || (kinds.grants && !ungroupOptions)) {
        names.insert(symbol);
    }
    if (kinds.grants && ungroupOptions) {
        names.insert(WithOptionSuffix(symbol));
    }
}

CKx7Doc::CKx7Doc(const Settings& settings) : m_settings(settings) {}

CKx7Doc::~CKx7Doc() = default;

void CKx7Doc::ClearContents() {
    // First: its steps hold records that are about to go.
    m_history.Clear(false);
    m_purchases.clear();
    m_dividends.clear();
    m_splits.clear();
    m_alerts.clear();
    m_recordCount = 0;
    m_lastUpdateTime = 0;
    m_timelineValues.clear();
    m_incomplete = false;
    // Another portfolio may follow in this same object; nothing drawn from the old one
    // stays current.
    ++m_revision;
    Announce(ChangeSet(ChangeKind::kReplaced));
}

void CKx7Doc::SetModified(bool modified) {
    m_modified = modified;
    if (modified) {
        m_history.MarkNeverClean();
    } else {
        m_history.MarkClean();
    }
    if (modified) {
        ++m_revision;
    }
    Announce(ChangeSet(ChangeKind::kModified));
}

void CKx7Doc::MarkChanged(const ChangeSet& changes) {
    if (m_history.Recording()) {
        m_history.NoteChanges(changes);
    } else {
        // Made outside every step, so no step could put it back, nor undo those before
        // it over it.
        m_history.Clear(false);
    }
    m_modified = true;
    ++m_revision;
    Announce(changes);
}

void CKx7Doc::AddObserver(DocumentObserver& observer) const {
    m_observers.push_back(&observer);
}

void CKx7Doc::RemoveObserver(DocumentObserver& observer) const {
    std::erase(m_observers, &observer);
}

void CKx7Doc::Announce(const ChangeSet& changes) {
    if (m_batchDepth > 0) {
        m_heldBack.Merge(changes);
        return;
    }
    // A copy: an observer may remove itself (a dialog that closes) while it is told.
    const std::vector<DocumentObserver*> observers = m_observers;
    for (DocumentObserver* observer : observers) {
        observer->Changed(changes);
    }
}

CKx7Doc::ChangeBatch::~ChangeBatch() {
    if (--m_doc.m_batchDepth > 0 || m_doc.m_heldBack.Empty()) {
        return;
    }
    const ChangeSet changes = std::move(m_doc.m_heldBack);
    m_doc.m_heldBack = ChangeSet();
    m_doc.Announce(changes);
}

void CKx7Doc::BringHeldSharesUpToDate() {
    const std::int64_t now = Clock::Now();
    for (const auto& lot : m_purchases) {
        const float stored = lot->availableShares;
        lot->ExercisableShares(now);
        NoteHeldShares(stored, lot->availableShares);
    }
}

void CKx7Doc::NoteHeldShares(float before, float after) {
    // The figures drawn from a lot's held shares change with them, though the portfolio
    // has nothing new to save.
    if (std::bit_cast<std::uint32_t>(before) != std::bit_cast<std::uint32_t>(after)) {
        ++m_revision;
    }
}

void CKx7Doc::NewDocument() {
    ChangeBatch batch(*this);
    ClearContents();
    m_pathName.clear();
    SetModified(false);
}

std::string CKx7Doc::Title() const {
    if (m_pathName.empty()) {
        return "Untitled";
    }
    return std::filesystem::path(m_pathName).filename().string();
}

CPurchase& CKx7Doc::AppendPurchase(std::unique_ptr<CPurchase> purchase) {
    m_purchases.push_back(std::move(purchase));
    ++m_revision;
    CPurchase& lot = *m_purchases.back();
    if (m_history.Recording()) {
        NoteAppended(m_purchases);
        // New in this step: undoing the append puts back all it holds.
        m_history.FirstTouch(&lot);
    }
    return lot;
}

CDividend& CKx7Doc::AppendDividend(std::unique_ptr<CDividend> dividend) {
    m_dividends.push_back(std::move(dividend));
    ++m_revision;
    CDividend& appended = *m_dividends.back();
    if (m_history.Recording()) {
        NoteAppended(m_dividends);
        m_history.FirstTouch(&appended);
    }
    return appended;
}

void CKx7Doc::AppendSplit(SplitEntry split) {
    m_splits.push_back(std::move(split));
    ++m_revision;
    if (m_history.Recording()) {
        NoteAppended(m_splits);
    }
}

bool CKx7Doc::LotMatches(const CPurchase& lot, std::string_view symbol) const {
    const bool suffixed = HasOptionSuffix(symbol);
    if (suffixed) {
        symbol.remove_suffix(kOptionSuffix.size());
    }
    if (lot.symbol != symbol) {
        return false;
    }
    return !m_settings.ungroupOptions || lot.IsGrant() == suffixed;
}

std::vector<std::string> CKx7Doc::SymbolNames(std::optional<SymbolFilter> filter) const {
    SymbolMap<LotKinds> kinds;
    for (const auto& lot : m_purchases) {
        const bool taken = !filter || (*filter == SymbolFilter::kHeldLots && Held(*lot)) ||
                           (*filter == SymbolFilter::kGrants && lot->IsGrant());
        if (taken) {
            kinds[lot->symbol].Add(*lot);
        }
    }
    std::set<std::string> names;
    for (const auto& [symbol, symbolKinds] : kinds) {
        AddListedNames(names, symbol, symbolKinds, m_settings.ungroupOptions);
    }
    return {names.begin(), names.end()};
}

const CPurchase* CKx7Doc::FirstLotOf(std::string_view symbol) const {
    const std::string stripped = StripOptionSuffix(symbol);
    for (const auto& lot : m_purchases) {
        if (lot->symbol == stripped) {
            return lot.get();
        }
    }
    return nullptr;
}

const CPurchase* CKx7Doc::LastLotExactly(std::string_view symbol) const {
    for (auto it = m_purchases.rbegin(); it != m_purchases.rend(); ++it) {
        if ((*it)->symbol == symbol) {
            return it->get();
        }
    }
    return nullptr;
}

bool CKx7Doc::CompanyName(std::string_view symbol, std::string& name) const {
    const CPurchase* lot = FirstLotOf(symbol);
    if (lot == nullptr) {
        return false;
    }
    name = lot->companyName;
    return true;
}

float CKx7Doc::MarketPrice(std::string_view symbol) const {
    if (symbol.empty()) {
        return 0.0f;
    }
    const CPurchase* lot = FirstLotOf(symbol);
    return lot != nullptr ? lot->marketPrice : 0.0f;
}

std::int32_t CKx7Doc::QuoteDirection(std::string_view symbol) const {
    const CPurchase* lot = LastLotExactly(symbol);
    return lot != nullptr ? lot->quoteDirection : 0;
}

float CKx7Doc::QuoteChange(std::string_view symbol) const {
    const CPurchase* lot = LastLotExactly(symbol);
    return lot != nullptr ? lot->quoteChange : 0.0f;
}

float CKx7Doc::SymbolValue(std::string_view symbol) const {
    float value = 0.0f;
    for (const auto& lot : m_purchases) {
        if (LotMatches(*lot, symbol)) {
            value += lot->LotValue();
        }
    }
    return value;
}

float CKx7Doc::TotalValue() const {
    // The held symbols' values added in the order of their names, each summed over its lots
    // in document order as SymbolValue sums it, from one walk rather than one per symbol.
    SymbolMap<KindSums> values;
    for (const auto& lot : m_purchases) {
        values[lot->symbol].Add(lot->IsGrant(), lot->LotValue());
    }
    float total = 0.0f;
    for (const std::string& name : SymbolNames(SymbolFilter::kHeldLots)) {
        const bool optionsOnly = HasOptionSuffix(name);
        const auto found = values.find(optionsOnly ? StripOptionSuffix(name) : name);
        if (found != values.end()) {
            total += found->second.Selected(m_settings.ungroupOptions, optionsOnly);
        }
    }
    return total;
}

float CKx7Doc::OptionSharesHeld(std::string_view symbol) {
    const std::string stripped = StripOptionSuffix(symbol);
    float held = 0.0f;
    for (const auto& lot : m_purchases) {
        if (lot->IsGrant() && lot->symbol == stripped) {
            const float stored = lot->availableShares;
            held += lot->RecomputeHeldShares();
            NoteHeldShares(stored, lot->availableShares);
        }
    }
    return held;
}

float CKx7Doc::ExercisableShares(std::string_view symbol) {
    const std::int64_t now = Clock::Now();
    float exercisable = 0.0f;
    for (const auto& lot : m_purchases) {
        if (LotMatches(*lot, symbol)) {
            const float stored = lot->availableShares;
            exercisable += lot->ExercisableShares(now);
            NoteHeldShares(stored, lot->availableShares);
        }
    }
    return exercisable;
}

float CKx7Doc::CostSum(std::string_view symbol, CostMode mode) const {
    float sum = 0.0f;
    for (const auto& lot : m_purchases) {
        if (lot->symbol != symbol) {
            continue;
        }
        switch (mode) {
            case CostMode::kHeld:
                sum += lot->price * lot->availableShares;
                break;
            case CostMode::kSold:
                sum += lot->price * (lot->shares - lot->availableShares);
                break;
            case CostMode::kAll:
                sum += lot->price * lot->shares;
                break;
        }
    }
    return sum;
}

float CKx7Doc::DividendTotal(std::string_view symbol) const {
    float total = 0.0f;
    for (const auto& dividend : m_dividends) {
        if (dividend->symbol != symbol) {
            continue;
        }
        total += dividend->IsCash() ? dividend->amount : dividend->amount * MarketPrice(symbol);
    }
    return total;
}

AlertEntry* CKx7Doc::FindAlert(std::string_view symbol) {
    const auto it = std::find_if(m_alerts.begin(), m_alerts.end(),
                                 [&](const AlertEntry& entry) { return entry.symbol == symbol; });
    return it != m_alerts.end() ? &*it : nullptr;
}

const AlertEntry* CKx7Doc::FindAlert(std::string_view symbol) const {
    return const_cast<CKx7Doc*>(this)->FindAlert(symbol);
}

AlertThresholds CKx7Doc::AlertOf(std::string_view symbol) const {
    const AlertEntry* entry = FindAlert(symbol);
    return entry != nullptr ? entry->Thresholds() : AlertThresholds{};
}

std::int32_t CKx7Doc::AlertState(std::string_view symbol) const {
    const AlertEntry* entry = FindAlert(symbol);
    return entry != nullptr ? entry->alertState : 0;
}

float CKx7Doc::TimelineValue(int index) const {
    if (index < 0 || index >= TimelineCount()) {
        return -1.0f;
    }
    return m_timelineValues[static_cast<std::size_t>(index)];
}

void CKx7Doc::SetMarketPrice(std::string_view symbol, float price) {
    const UndoStep step(*this, "Price of " + std::string(symbol));
    const std::vector<CPurchase*> lots = LotsOfExactly(m_purchases, symbol);
    KeepQuotes(symbol, lots);
    for (CPurchase* lot : lots) {
        lot->marketPrice = price;
    }
    MarkChanged(ChangeSet(ChangeKind::kPrices, symbol));
}

void CKx7Doc::ApplyQuote(std::string_view symbol, float price, std::int32_t direction, float change,
                         float extra) {
    const UndoStep step(*this, "Quote of " + std::string(symbol));
    const std::vector<CPurchase*> lots = LotsOfExactly(m_purchases, symbol);
    KeepQuotes(symbol, lots);
    for (CPurchase* lot : lots) {
        lot->marketPrice = price;
        lot->quoteDirection = direction;
        lot->quoteChange = change;
        lot->quoteExtra = extra;
    }
    MarkChanged(ChangeSet(ChangeKind::kPrices, symbol));
}

void CKx7Doc::SetAlert(std::string_view symbol, const AlertThresholds& thresholds) {
    const UndoStep step(*this, "Alert for " + std::string(symbol));
    AlertEntry* entry = FindAlert(symbol);
    if (entry == nullptr) {
        m_alerts.push_back(AlertEntry{std::string(symbol)});
        NoteAppended(m_alerts);
        entry = &m_alerts.back();
    } else {
        m_history.Add(std::make_unique<ElementSwap<std::vector<AlertEntry>>>(
            m_alerts, static_cast<std::size_t>(entry - m_alerts.data())));
    }
    entry->lowMark = thresholds.lowMark;
    entry->highMark = thresholds.highMark;
    entry->percentDown = thresholds.percentDown;
    entry->percentUp = thresholds.percentUp;
    entry->alertState = 0;
    MarkChanged(ChangeSet(ChangeKind::kAlerts, symbol));
}

void CKx7Doc::ReplaceAlerts(std::vector<AlertEntry> alerts) {
    const UndoStep step(*this, "Alerts");
    m_history.Add(std::make_unique<ValueSwap<std::vector<AlertEntry>>>(m_alerts, m_alerts));
    m_alerts = std::move(alerts);
    MarkChanged(ChangeSet(ChangeKind::kAlerts));
}

void CKx7Doc::RemoveAlert(std::string_view symbol) {
    const UndoStep step(*this, "Removal of the Alert for " + std::string(symbol));
    const auto it = std::find_if(m_alerts.begin(), m_alerts.end(),
                                 [&](const AlertEntry& entry) { return entry.symbol == symbol; });
    if (it != m_alerts.end()) {
        RemoveAt(m_alerts, static_cast<std::size_t>(it - m_alerts.begin()));
    }
    MarkChanged(ChangeSet(ChangeKind::kAlerts, symbol));
}

void CKx7Doc::SetAlertState(std::string_view symbol, std::int32_t value) {
    if (AlertEntry* entry = FindAlert(symbol)) {
        entry->alertState = value;
    }
}

void CKx7Doc::SetPortfolioInformation(std::string owner, std::string objective) {
    const UndoStep step(*this, "Portfolio Information");
    m_ownerName = std::move(owner);
    m_portfolioObjective = std::move(objective);
    MarkChanged(ChangeSet(ChangeKind::kInformation));
}

void CKx7Doc::TouchLastUpdate() {
    m_lastUpdateTime = Clock::Now();
    Announce(ChangeSet(ChangeKind::kTimeline));
}

void CKx7Doc::RecordTimelineSample() {
    const std::int64_t now = Clock::Now();
    // A new calendar date starts a new series (the day of the month alone repeats monthly).
    if (!m_timelineValues.empty() && ToLocalDate(m_timelineLastTime) != ToLocalDate(now)) {
        m_timelineValues.clear();
    }
    m_timelineValues.push_back(TotalValue());
    m_timelineLastTime = now;
    if (m_timelineValues.size() == 1) {
        m_timelineFirstTime = m_timelineLastTime;
    }
    Announce(ChangeSet(ChangeKind::kTimeline));
}
