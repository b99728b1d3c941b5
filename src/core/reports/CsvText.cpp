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

std::string IsoDate(std::int64_t time) {
    const LocalDate date = ToLocalDate(time);
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date.year, date.month, date.day);
    return text;
}
