#include "core/model/Kx7File.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <iterator>
#include <limits>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "core/model/ArchiveReader.h"
#include "core/model/ArchiveWriter.h"
#include "core/model/FileBytes.h"
#include "core/model/Kx7Doc.h"
#include "core/model/LocalTime.h"
#include "core/settings/Version.h"

namespace {

constexpr std::string_view kPurchaseTag = "Purchase";
constexpr std::string_view kOptionTag = "Option";
constexpr std::string_view kSaleTag = "Sale";
constexpr std::string_view kSplitTag = "SplitList";
constexpr std::string_view kAlertTag = "Alerts";
constexpr std::string_view kDividendTag = "Dividend";
constexpr std::string_view kEndTag = "ENDOFDATA";

// Generations whose layout differs.
constexpr std::int32_t kFirstGeneration = 2000;   // no sale numbering in the header
constexpr std::int32_t kTimeGeneration = 3000;    // time values and sale numbers
constexpr std::int32_t kDoubleGeneration = 5000;  // alert thresholds as doubles
constexpr std::int32_t kUnknownGeneration = 9999;

// One number as "%d" reads it: leading white space, an optional sign, digits.
bool ReadNumber(std::string_view& text, int& value) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
    }
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc()) {
        return false;
    }
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

bool ReadSlash(std::string_view& text) {
    if (text.empty() || text.front() != '/') {
        return false;
    }
    text.remove_prefix(1);
    return true;
}

// "month/day/year" of the first generations, as local midnight. A text that does not hold
// three numbers, or numbers no calendar could use, gives time 0.
std::int64_t OldDateTime(std::string_view text) {
    constexpr int kLimit = 1000000;
    int month = 0;
    int day = 0;
    int year = 0;
    if (!ReadNumber(text, month) || !ReadSlash(text) || !ReadNumber(text, day) ||
        !ReadSlash(text) || !ReadNumber(text, year)) {
        return 0;
    }
    for (const int part : {month, day, year}) {
        if (part < -kLimit || part > kLimit) {
            return 0;
        }
    }
    return LocalTimeOf(year, month, day);
}

// The tag that ended the reading and where it began.
struct Ending {
    std::string tag;
    std::size_t offset = 0;
};

// Reads the groups, in their fixed order, into a cleared document.
class CKx7Loader {
public:
    CKx7Loader(CKx7Doc& doc, CArchiveReader& in, std::int32_t generation)
        : m_doc(doc), m_in(in), m_generation(generation) {}

    Ending Load() {
        m_doc.SetNextSaleNumber(m_generation == kFirstGeneration ? 0 : m_in.ReadInt());
        std::string owner = m_in.ReadString();
        std::string objective = m_in.ReadString();
        m_doc.SetPortfolioInformation(std::move(owner), std::move(objective));
        NextTag();
        while (m_tag == kPurchaseTag) {
            ReadLot();
        }
        while (m_tag == kSplitTag) {
            ReadSplit();
        }
        ReadAlerts();
        while (m_tag == kDividendTag) {
            ReadDividend();
        }
        return {std::string(m_tag), m_tagOffset};
    }

private:
    void NextTag() {
        m_tagOffset = m_in.Offset();
        m_tag = m_in.ReadText(m_tagText);
    }

    std::int64_t ReadDate() {
        return m_generation < kTimeGeneration ? OldDateTime(m_in.ReadString()) : m_in.ReadTime();
    }

    void ReadLot() {
        std::string symbol = m_in.ReadString();
        std::string company = m_in.ReadString();
        const std::int64_t date = ReadDate();
        const float marketPrice = m_in.ReadFloat();
        const float price = m_in.ReadFloat();
        const float shares = m_in.ReadFloat();
        const float held = m_in.ReadFloat();
        const float commission = m_in.ReadFloat();
        std::string type = m_in.ReadString();
        std::string comment = m_in.ReadString();
        NextTag();
        CPurchase& lot = m_doc.AppendPurchase(
            std::make_unique<CPurchase>(std::move(symbol), std::move(company), shares, price, date,
                                        commission, std::move(type), std::move(comment)));
        if (m_tag == kOptionTag) {
            lot.vestingSchedule = m_in.ReadInt();
            lot.grantId = m_in.ReadString();
            NextTag();
        }
        m_doc.AddToRecordCount(1);
        // Gathered first so that the lot's list is allocated once, at its size.
        while (m_tag == kSaleTag) {
            ReadSale(lot);
        }
        lot.sales.assign(std::make_move_iterator(m_sales.begin()),
                         std::make_move_iterator(m_sales.end()));
        m_sales.clear();
        // Taken as stored, not recomputed from the sales.
        lot.marketPrice = marketPrice;
        lot.availableShares = held;
    }

    void ReadSale(CPurchase& lot) {
        const float shares = m_in.ReadFloat();
        float price = m_in.ReadFloat();
        const std::int64_t date = ReadDate();
        const float commission = m_in.ReadFloat();
        std::string comment = m_in.ReadString();
        if (price < 0.0f) {
            price = CSale::kExpiredPrice;
        }
        std::int32_t saleNumber = 0;
        if (m_generation >= kTimeGeneration) {
            saleNumber = m_in.ReadInt();
        } else {
            // Old sale records were transactions of their own.
            saleNumber = m_doc.NextSaleNumber();
            m_doc.SetNextSaleNumber(
                static_cast<std::int32_t>(static_cast<std::uint32_t>(saleNumber) + 1));
        }
        m_sales.emplace_back(shares, price, date, commission, std::move(comment), saleNumber, &lot);
        NextTag();
        m_doc.AddToRecordCount(1);
    }

    void ReadSplit() {
        SplitEntry split;
        split.symbol = m_in.ReadString();
        split.date = m_in.ReadTime();
        split.newShares = m_in.ReadInt();
        split.oldShares = m_in.ReadInt();
        m_doc.AppendSplit(std::move(split));
        NextTag();
    }

    // A symbol that comes again updates its first alert in place, as setting it would; the
    // index keeps that a lookup, not a search, for files with very many alerts.
    void ReadAlerts() {
        std::vector<AlertEntry> alerts;
        std::unordered_map<std::string, std::size_t> positions;
        while (m_tag == kAlertTag) {
            std::string symbol = m_in.ReadString();
            if (symbol == kEndTag) {
                // Accepted: an alert group closed by the end tag in place of its symbol.
                m_tag = kEndTag;
                break;
            }
            const auto [position, added] = positions.try_emplace(symbol, alerts.size());
            if (added) {
                alerts.push_back(AlertEntry{std::move(symbol)});
            }
            AlertEntry& alert = alerts[position->second];
            for (double* value :
                 {&alert.lowMark, &alert.highMark, &alert.percentDown, &alert.percentUp}) {
                *value = m_generation < kDoubleGeneration ? m_in.ReadFloat() : m_in.ReadDouble();
            }
            NextTag();
        }
        m_doc.ReplaceAlerts(std::move(alerts));
    }

    void ReadDividend() {
        std::string symbol = m_in.ReadString();
        const std::int64_t date = m_in.ReadTime();
        const float amount = m_in.ReadFloat();
        const auto kind = static_cast<DividendKind>(m_in.ReadInt());
        std::string comment = m_in.ReadString();
        NextTag();
        // Loaded dividends are not counted among the records.
        m_doc.AppendDividend(
            std::make_unique<CDividend>(std::move(symbol), kind, amount, date, std::move(comment)));
    }

    CKx7Doc& m_doc;
    CArchiveReader& m_in;
    const std::int32_t m_generation;
    // Tags are only compared, so they are not copied out of the buffer.
    std::string_view m_tag;
    std::string m_tagText;
    std::size_t m_tagOffset = 0;
    std::vector<CSale> m_sales;
};

// A lot without its grant fields, or a sale, to the writer or to one record of it.
template <typename Out>
void WriteLotFields(Out& out, const CPurchase& lot) {
    out.WriteString(kPurchaseTag);
    out.WriteString(lot.symbol);
    out.WriteString(lot.companyName);
    out.WriteTime(lot.date);
    out.WriteFloat(lot.marketPrice);
    out.WriteFloat(lot.price);
    out.WriteFloat(lot.shares);
    out.WriteFloat(lot.availableShares);
    out.WriteFloat(lot.commission);
    out.WriteString(lot.purchaseType);
    out.WriteString(lot.comment);
}

template <typename Out>
void WriteSaleFields(Out& out, const CSale& sale) {
    out.WriteString(kSaleTag);
    out.WriteFloat(sale.shares);
    out.WriteFloat(sale.price);
    out.WriteTime(sale.date);
    out.WriteFloat(sale.commission);
    out.WriteString(sale.comment);
    out.WriteInt(sale.saleNumber);
}

// Nearly every record has only short ASCII texts and goes as one record of the writer.
constexpr std::size_t kValueBytes = 4;

void WriteLot(CArchiveWriter& out, const CPurchase& lot) {
    const std::string_view texts[] = {kPurchaseTag, lot.symbol, lot.companyName, lot.purchaseType,
                                      lot.comment};
    std::size_t most = 6 * kValueBytes;
    for (const std::string_view text : texts) {
        if (!archive::IsShortAscii(text)) {
            WriteLotFields(out, lot);
            return;
        }
        most += 1 + text.size();
    }
    CArchiveWriter::Record record(out, most);
    WriteLotFields(record, lot);
}

void WriteSale(CArchiveWriter& out, const CSale& sale) {
    if (!archive::IsShortAscii(sale.comment)) {
        WriteSaleFields(out, sale);
        return;
    }
    CArchiveWriter::Record record(out,
                                  1 + kSaleTag.size() + 5 * kValueBytes + 1 + sale.comment.size());
    WriteSaleFields(record, sale);
}

}  // namespace

std::int32_t FileGeneration(std::string_view versionText) {
    constexpr std::string_view kPrefix = "Version ";
    if (!versionText.starts_with(kPrefix)) {
        return kUnknownGeneration;
    }
    versionText.remove_prefix(kPrefix.size());
    if (versionText.empty() || !std::isdigit(static_cast<unsigned char>(versionText.front()))) {
        return kUnknownGeneration;
    }
    constexpr std::int32_t kLargestMajor = std::numeric_limits<std::int32_t>::max() / 1000;
    std::int32_t major = 0;
    const auto [end, error] =
        std::from_chars(versionText.data(), versionText.data() + versionText.size(), major);
    // A major number too large to multiply is still a newer layout than any we know.
    if (error == std::errc::result_out_of_range || major > kLargestMajor) {
        major = kLargestMajor;
    }
    return major * 1000;
}

std::vector<std::uint8_t> StoreKx7(const CKx7Doc& doc) {
    CArchiveWriter out;
    // About what a lot, a sale and a dividend take with their tags and short texts; the
    // buffer still grows when the texts are longer.
    constexpr std::size_t kLotBytes = 96;
    constexpr std::size_t kSaleBytes = 32;
    constexpr std::size_t kDividendBytes = 40;
    const auto records = static_cast<std::size_t>(std::max(doc.RecordCount(), 0));
    out.Reserve(256 + doc.Purchases().size() * kLotBytes + records * kSaleBytes +
                doc.Dividends().size() * kDividendBytes);
    out.WriteString(VersionText());
    out.WriteInt(doc.NextSaleNumber());
    out.WriteString(doc.OwnerName());
    out.WriteString(doc.PortfolioObjective());
    for (const auto& lot : doc.Purchases()) {
        WriteLot(out, *lot);
        if (lot->IsGrant()) {
            out.WriteString(kOptionTag);
            out.WriteInt(lot->vestingSchedule);
            out.WriteString(lot->grantId);
        }
        for (const auto& sale : lot->sales) {
            WriteSale(out, sale);
        }
    }
    for (const SplitEntry& split : doc.Splits()) {
        out.WriteString(kSplitTag);
        out.WriteString(split.symbol);
        out.WriteTime(split.date);
        out.WriteInt(split.newShares);
        out.WriteInt(split.oldShares);
    }
    for (const AlertEntry& alert : doc.Alerts()) {
        out.WriteString(kAlertTag);
        out.WriteString(alert.symbol);
        out.WriteDouble(alert.lowMark);
        out.WriteDouble(alert.highMark);
        out.WriteDouble(alert.percentDown);
        out.WriteDouble(alert.percentUp);
    }
    for (const auto& dividend : doc.Dividends()) {
        out.WriteString(kDividendTag);
        out.WriteString(dividend->symbol);
        out.WriteTime(dividend->date);
        out.WriteFloat(dividend->amount);
        out.WriteInt(static_cast<std::int32_t>(dividend->dividendKind));
        out.WriteString(dividend->comment);
    }
    out.WriteString(kEndTag);
    return out.TakeBytes();
}

Kx7ReadResult LoadKx7(CKx7Doc& doc, std::span<const std::uint8_t> bytes) {
    // A failed open must not leave the damaged file's header behind.
    const std::string owner = doc.OwnerName();
    const std::string objective = doc.PortfolioObjective();
    const std::int32_t nextSaleNumber = doc.NextSaleNumber();
    // The observers hear of the whole file at once, when it is read.
    const CKx7Doc::ChangeBatch batch(doc);
    doc.ClearContents();

    Kx7ReadResult result;
    CArchiveReader in(bytes);
    result.version = in.ReadString();
    result.generation = FileGeneration(result.version);
    const Ending ending = CKx7Loader(doc, in, result.generation).Load();
    if (in.Failed()) {
        doc.ClearContents();
        doc.SetPortfolioInformation(owner, objective);
        doc.SetNextSaleNumber(nextSaleNumber);
        doc.SetModified(false);
        doc.ClearHistory();
        result.error = kUnexpectedFileFormat;
        return result;
    }
    if (ending.tag != kEndTag) {
        doc.SetIncomplete(true);
        result.warning =
            "Part of the file could not be read: the portfolio data stops at an "
            "unexpected entry at byte " +
            std::to_string(ending.offset) + ".";
    }
    doc.SetLastUpdateTime(0);
    doc.SetModified(false);
    // Reading the file went through operations; none of them is a step to undo.
    doc.ClearHistory();
    return result;
}

Kx7ReadResult OpenKx7File(CKx7Doc& doc, const std::string& path) {
    // Stamped before reading: a change made while the file is read then shows as one.
    FileStamp stamp = StatStamp(path);
    FileBytes file = ReadFileBytes(path, kKx7SizeLimit);
    if (!file.error.empty()) {
        Kx7ReadResult result;
        result.error = std::move(file.error);
        return result;
    }
    Kx7ReadResult result = LoadKx7(doc, file.bytes);
    stamp.hash = ContentHash(file.bytes);
    result.stamp = stamp;
    return result;
}

std::string WriteKx7File(const CKx7Doc& doc, const std::string& path, FileStamp* written) {
    if (doc.IsIncomplete() && !doc.PathName().empty() && SameFile(path, doc.PathName())) {
        return "Could not save \"" + path +
               "\": the portfolio was read from it only in part, and saving over it would "
               "lose what could not be read. Save it under another name.";
    }
    const std::vector<std::uint8_t> bytes = StoreKx7(doc);
    std::string error = WriteFileSafely(path, bytes);
    if (error.empty() && written != nullptr) {
        *written = StatStamp(path);
        written->hash = ContentHash(bytes);
    }
    return error;
}

std::string SaveKx7File(CKx7Doc& doc, const std::string& path, FileStamp* written) {
    std::string error = WriteKx7File(doc, path, written);
    doc.SetLastUpdateTime(0);
    if (error.empty()) {
        doc.SetModified(false);
        doc.SetIncomplete(false);
    }
    return error;
}
