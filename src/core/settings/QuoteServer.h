#pragma once

// The services prices are fetched from, in the order of the quote-server list. A value
// outside the list names no source and fetches nothing.
enum class QuoteServer { kAmex = 0, kYahoo = 1, kNasdaq = 2 };
