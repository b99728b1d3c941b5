#include "core/model/Dividend.h"

#include <utility>

CDividend::CDividend(std::string symbol_, DividendKind dividendKind_, float amount_,
                     std::int64_t date_, std::string comment_)
    : symbol(std::move(symbol_)),
      dividendKind(dividendKind_),
      amount(amount_),
      date(date_),
      comment(std::move(comment_)) {}
