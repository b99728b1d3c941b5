#!/usr/bin/env bash
# Runs the report commands of velmora-cli on the demo portfolio: options, line ends,
# exit statuses. The report texts themselves are checked in full by the core tests.
source "$(dirname "$0")/lib.sh" "$1"
now=(--now "2024-06-15 12:00:00")

"$cli" demo "$work/demo.kx7" || { echo "could not write the demo portfolio"; exit 1; }
demo=$work/demo.kx7

# output EXPECTED ARGS...: the whole standard output of the command.
output() {
    local expected=$1
    shift
    local got
    got=$("$cli" "$@"; printf x)
    got=${got%x}
    [ "$got" == "$expected" ] || fail "output of $*: got $(printf %q "$got"), not $(printf %q "$expected")"
}

# first_line EXPECTED ARGS...
first_line() {
    local expected=$1
    shift
    local got
    got=$("$cli" "$@" | head -n 1)
    [ "$got" == "$expected" ] || fail "first line of $*: got $(printf %q "$got")"
}

# Line ends: LF by default, CR LF with --crlf.
first_line $'Purchase\t03/02/15\t100.0000\t18.2500\t100.0000\t\t\t' summary "$demo" ACME
first_line $'Purchase\t03/02/15\t100.0000\t18.2500\t100.0000\t\t\t\r' --crlf summary "$demo" ACME
"$cli" summary "$demo" ACME | grep -q $'\r' && fail "CR in the default output"

# Date order: day first, but the summary's dividend lines stay month first.
first_line $'Purchase\t02/03/15\t100.0000\t18.2500\t100.0000\t\t\t' --date-order dmy summary "$demo" ACME
"$cli" --date-order dmy summary "$demo" BLUE | grep -q $'^Dividend\t06/20/15\t' ||
    fail "dividend date not month first"

# Grouping of option lots.
output $'ACME\nACME-O\nBLUE\nCRNR\nDLTA\n' symbols "$demo"
output $'ACME\nBLUE\nCRNR\nDLTA\n' --ungroup off symbols "$demo"
output $'ACME-O\n' symbols "$demo" grants
"$cli" --ungroup off summary "$demo" ACME --by-purchase | grep -q $'^Purchase\t01/15/21\t1200.0000' ||
    fail "grants not in the summary with --ungroup off"

# Flags of the summary and tax commands.
[ "$("$cli" summary "$demo" CRNR | grep -c '^Sale')" -eq 2 ] || fail "grouped CRNR sales"
[ "$("$cli" summary "$demo" CRNR --no-group-sales | grep -c '^Sale')" -eq 3 ] ||
    fail "ungrouped CRNR sales"
[ "$("$cli" "${now[@]}" summary "$demo" DLTA --by-purchase --sell-balance | grep -c $'^Sale\t06/15/24')" -eq 1 ] ||
    fail "balance row of DLTA"
output $'\n------------------\nSummary Results:\nTotal Gain: 0.0000\n' tax "$demo" 1999
"$cli" tax "$demo" all --csv | grep -q '^05/06/19 ,120.00 ,ACME ,Various    ,' || fail "tax csv row"
"$cli" tax "$demo" 2019 --no-group-sales | grep -q '^05/06/19  100.00 shares of Acme Widgets Inc(ACME)$' ||
    fail "ungrouped tax row"

# Gains end with the total; value prints the three figures in money format.
for view in realized potential combination; do
    "$cli" "${now[@]}" gains "$demo" $view | tail -n 1 | grep -Eq '^Total Gain: -?[0-9]+\.[0-9]{4}$' ||
        fail "total line of $view gains"
done
"$cli" "${now[@]}" value "$demo" > "$work/value"
grep -Eq '^Value : [0-9]{1,3}(,[0-9]{3})*\.[0-9]{2}$' "$work/value" || fail "value line"
[ "$(sed -n 2p "$work/value" | cut -c1-16)" == "Realized Gain : " ] || fail "realized line"
[ "$(sed -n 3p "$work/value" | cut -c1-17)" == "Potential Gain : " ] || fail "potential line"

# Overview: every symbol followed by the separator; history; details.
[ "$("$cli" overview "$demo" | grep -c '^======================================================$')" -eq 5 ] ||
    fail "overview separators"
output $'\n' "${now[@]}" history "$demo" 0
[ "$("$cli" history "$demo" all | grep -c '^[0-9/]*  \(Pur\|Sale\|Exp\.\) ')" -eq 14 ] ||
    fail "history lines"
[ "$("$cli" details "$demo" | wc -l)" -eq 10 ] || fail "details list"
first_line "Company      :Acme Widgets Inc" details "$demo" 0

# Exit statuses.
status 0 tax --help
status 0 "${now[@]}" history "$demo" all
status 2 tax "$demo"
status 2 tax "$demo" 20x
status 2 history "$demo" -3
status 2 history "$demo" 99999999999
status 2 gains "$demo" sideways
status 2 details "$demo" 10
status 2 details "$demo" first
status 2 symbols "$demo" sold
status 2 summary "$demo" ACME --sideways
status 2 overview "$demo" extra
status 2 --date-order ymd value "$demo"
status 2 --ungroup maybe value "$demo"
status 2 --now "2024-02-30 10:00:00" value "$demo"
status 2 --now "2024-03-10 02:30:00" value "$demo"
status 2 --now tomorrow value "$demo"
status 2 --crlf
status 2 --crlf nothing "$demo"
status 1 value "$work/missing.kx7"
printf 'not a portfolio' > "$work/bad.kx7"
status 1 value "$work/bad.kx7"

# The dump of the demo portfolio, byte for byte; a dump that could not be written in full
# fails instead of passing for one.
"$cli" dump "$demo" > "$work/dump.json" || fail "dump of the demo portfolio"
cmp -s "$work/dump.json" "$(dirname "$0")/demo-dump.json" || fail "dump of the demo portfolio changed"
if [ -w /dev/full ]; then
    "$cli" dump "$demo" > /dev/full 2> "$work/err"
    [ $? -eq 1 ] || fail "a dump to a full disk did not fail"
    grep -q "could not be written" "$work/err" || fail "a failed dump does not say so: $(cat "$work/err")"
fi

finish "all report commands behave"
