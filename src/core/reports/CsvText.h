#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

// Pieces of RFC 4180 CSV, as spreadsheets and tax programs read it: fields separated by
// commas, rows ended by CR LF, a field quoted when it holds a comma, a quote or a line end,
// and a quote inside a quoted field doubled.

// Appends `field`, quoted where it must be, and no separator.
void AppendCsvField(std::string& out, std::string_view field);
// Appends the fields as one row, separators and the CR LF included.
void AppendCsvRow(std::string& out, std::initializer_list<std::string_view> fields);

// The rows of a CSV text: quoted fields may hold separators, quotes and line ends; rows
// end with LF or CR LF; a last row without its line end is kept; empty lines are skipped.
// An unterminated quote runs to the end of the text.
std::vector<std::vector<std::string>> ReadCsvRows(std::string_view text, char separator = ',');

// The local date of `time` as YYYY-MM-DD, whatever order the user reads dates in.
std::string IsoDate(std::int64_t time);
