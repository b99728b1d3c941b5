#include "core/model/Sale.h"

#include <utility>

CSale::CSale(float shares_, float price_, std::int64_t date_, float commission_,
             std::string comment_, std::int32_t saleNumber_, CPurchase* purchase_)
    : shares(shares_),
      price(price_),
      commission(commission_),
      saleNumber(saleNumber_),
      date(date_),
      comment(std::move(comment_)),
      purchase(purchase_) {}
