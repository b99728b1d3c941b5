#pragma once

#include <string>

#include "model/Kx7File.h"

class CKx7Doc;

// Opens the portfolio file for a command, or says on stderr why it cannot; a partial read
// is told too, and the command goes on with what was read.
bool OpenPortfolio(CKx7Doc& doc, const std::string& path, Kx7ReadResult& read);
