# Imports from the shell: a broker's CSV through its mapping into a new file, the preview
# of a file whose records the portfolio already has, and the arguments refused.
source "$(dirname "$0")/lib.sh" "$1"
cd "$work" || exit 1
export VELMORA_CONFIG=$work/velmora.ini

status 0 demo demo.kx7
cp demo.kx7 demo.orig
cat > broker.csv <<'CSV'
"Transactions for account XXXX-1234"
"Date","Action","Symbol","Description","Quantity","Price","Fees & Comm","Amount"
"03/01/2024","Buy","NEWC","NEW CO","25","$40.00","$1.00","-$1,001.00"
"03/02/2024","Journal","NEWC","","","","","$5.00"
CSV
"$cli" import demo.kx7 broker.csv --mapping 'Schwab transactions' --output new.kx7 > out 2> err \
    || fail "import: $(cat err)"
grep -q '^1 to record, 1 skipped; bought 1000.00' out || fail "preview: $(cat out)"
grep -q 'line 4: the action "Journal" is unknown' err || fail "skipped row: $(cat err)"
"$cli" dump new.kx7 | grep -q '"NEWC"' || fail "the new lot is not in the written file"
cmp -s demo.kx7 demo.orig || fail "--output changed the portfolio it read"

"$cli" export demo.kx7 transactions --output mine.csv
"$cli" import demo.kx7 mine.csv --mapping Velmora --matching file --in-place > out 2> err
[ $? -eq 1 ] || fail "a file of records already there was imported"
grep -q '^0 to record, 20 skipped' out || fail "duplicates preview: $(cat out)"
grep -q 'already has this split' err || fail "the split is not named a duplicate: $(cat err)"
cmp -s demo.kx7 demo.orig || fail "nothing to record, yet the file was written"

status 2 import demo.kx7 broker.csv --in-place
status 2 import demo.kx7 broker.csv --mapping Nobody --in-place
status 2 import demo.kx7 broker.csv --mapping Velmora --matching best --in-place
status 2 import demo.kx7 broker.csv --mapping Velmora
status 1 import demo.kx7 missing.csv --mapping Velmora --in-place
printf 'a,b\n1,2\n' > other.csv
status 1 import demo.kx7 other.csv --mapping Velmora --in-place
grep -q 'no line names the column "Date"' err || fail "wrong file not named: $(cat err)"

finish "imports: all passed"
