# The CSV exports from the shell: every transaction of the demo portfolio, its holdings and
# a tax year's realized gains, on stdout or written to a file, and the arguments refused.
source "$(dirname "$0")/lib.sh" "$1"
cd "$work" || exit 1
export VELMORA_CONFIG=$work/velmora.ini

status 0 demo demo.kx7
"$cli" export demo.kx7 transactions > transactions.csv 2> err || fail "transactions: $(cat err)"
head -n 1 transactions.csv | grep -q '^Date,Action,Symbol,Company,Shares,Price,Amount,Commission,Type,Vesting,Grant ID,Lot,Sale,Ratio,Comment' \
    || fail "transactions header: $(head -n 1 transactions.csv)"
grep -q ',Sell,ACME,' transactions.csv || fail "no sale row"
grep -q $'\r$' transactions.csv || fail "rows do not end in CR LF"
status 0 export demo.kx7 transactions --output written.csv
cmp -s transactions.csv written.csv || fail "--output wrote something else than stdout"

"$cli" export demo.kx7 holdings > holdings.csv || fail "holdings"
head -n 1 holdings.csv | grep -q '^Symbol,Company,Shares,Cost,Value,Gain' || fail "holdings header"
"$cli" export demo.kx7 gains --year 2016 > gains.csv || fail "gains"
head -n 1 gains.csv | grep -q '^Description,Date Acquired,Date Sold,Proceeds,Cost Basis,Adjustment,Gain or Loss,Term' \
    || fail "gains header"

status 2 export demo.kx7 everything
status 2 export demo.kx7 gains --year 20x
status 2 export demo.kx7 holdings --date 2023-02-30
status 2 export demo.kx7 holdings --date
status 1 export missing.kx7 transactions
status 1 export demo.kx7 transactions --output no/such/folder/out.csv

finish "exports: all passed"
