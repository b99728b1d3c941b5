#pragma once

#include <string>

class CKx7Doc;
struct Kx7ReadResult;

// The whole portfolio as readable JSON, for `velmora-cli dump`.
std::string PortfolioJson(const CKx7Doc& doc, const Kx7ReadResult& read);
