#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>

// Appends the texts of items 0 to count-1 to `out` in order, writing parts of them on the
// processor's other cores at the same time when the text is large enough to be worth it:
// a report of a lifetime portfolio is tens of megabytes of text, and the person waits for
// all of it.
//
// `appendRange(first, last, text)` appends the items first to last-1 to `text`. It runs
// on several threads at once, each with its own text, so it may only read what it shares
// with the others. `estimatedBytes` is about the size of the whole text: it decides how
// many parts there are and is reserved up front. Parts hold as many items each, or, when
// `itemWeights` gives a weight for each item (its rows, say), as much weight each.
using AppendRange = std::function<void(std::size_t first, std::size_t last, std::string& text)>;
void AppendInParts(std::string& out, std::size_t count, std::size_t estimatedBytes,
                   const AppendRange& appendRange, std::span<const std::size_t> itemWeights = {});

// The memory of a report's whole text, given back once the text has been shown or saved,
// for the next large report to be written into: tens of megabytes of fresh memory are
// handed over by the system a page at a time, each page zeroed first. The largest text
// given back is kept; TakeReportText returns it empty, or an empty text when none is kept.
std::string TakeReportText();
void GiveBackReportText(std::string&& text);
