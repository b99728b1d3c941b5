#pragma once

#include <cstdio>

class CKx7Doc;
struct Kx7ReadResult;

// The whole portfolio as readable JSON, for `velmora-cli dump`, written as it is made;
// false when not all of it could be written.
bool WritePortfolioJson(std::FILE* out, const CKx7Doc& doc, const Kx7ReadResult& read);
