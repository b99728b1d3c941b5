#include "core/reports/CsvText.h"

#include <cstdio>

#include "core/model/LocalTime.h"

void AppendCsvField(std::string& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out += field;
        return;
    }
    out += '"';
    for (const char c : field) {
        if (c == '"') {
            out += '"';
        }
        out += c;
    }
    out += '"';
}

void AppendCsvRow(std::string& out, std::initializer_list<std::string_view> fields) {
    bool first = true;
    for (const std::string_view field : fields) {
        if (!first) {
            out += ',';
        }
        first = false;
        AppendCsvField(out, field);
    }
    out += "\r\n";
}

std::vector<std::vector<std::string>> ReadCsvRows(std::string_view text, char separator) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false;
    bool rowHasText = false;
    const auto endRow = [&] {
        if (rowHasText || !row.empty()) {
            row.push_back(std::move(field));
            rows.push_back(std::move(row));
        }
        row.clear();
        field.clear();
        rowHasText = false;
    };
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char c = text[at];
        if (quoted) {
            if (c != '"') {
                field += c;
            } else if (at + 1 < text.size() && text[at + 1] == '"') {
                field += '"';
                ++at;
            } else {
                quoted = false;
            }
            continue;
        }
        if (c == '"') {
            quoted = true;
            rowHasText = true;
        } else if (c == separator) {
            row.push_back(std::move(field));
            field.clear();
            rowHasText = true;
        } else if (c == '\n') {
            endRow();
        } else if (c != '\r' || (at + 1 < text.size() && text[at + 1] != '\n')) {
            // A CR is part of the line end before an LF, and at the very end of the text,
            // where it is all that came of one; elsewhere it is text.
            field += c;
            rowHasText = true;
        }
    }
    endRow();
    return rows;
}

std::string IsoDate(std::int64_t time) {
    const LocalDate date = ToLocalDate(time);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}
