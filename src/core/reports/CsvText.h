#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

// Pieces of RFC 4180 CSV, as spreadsheets and tax programs read it: fields separated by
// commas, rows ended by CR LF, a field quoted when it holds a comma, a quote or a line end,
// and a quote inside a quoted field doubled.

// Appends `field`, quoted where it must be, and no separator.
void AppendCsvField(std::string& out, std::string_view field);
// Appends the fields as one row, separators and the CR LF included.
void AppendCsvRow(std::string& out, std::initializer_list<std::string_view> fields);

// The local date of `time` as YYYY-MM-DD, whatever order the user reads dates in.
std::string IsoDate(std::int64_t time);
