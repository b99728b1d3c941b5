# The quote sources from the shell: the list in the chain's order, a user's source read
# from its file, a test of one symbol, an update from a named source, and names that are
# no source.
source "$(dirname "$0")/lib.sh" "$1"
cd "$work" || exit 1
export VELMORA_CONFIG=$work/velmora.ini

"$cli" sources > list 2> err || fail "sources: $(cat err)"
grep -qx ' 1  Yahoo Finance chart (JSON) (ready-made)' list || fail "no chain mark: $(cat list)"
grep -qx ' 2  Stooq (CSV) (ready-made)' list || fail "no second link: $(cat list)"
grep -qx ' -  Yahoo! (built in)' list || fail "no described source: $(cat list)"
"$cli" sources show 'Stooq (CSV)' > shown || fail "show"
grep -q '"url": "https://stooq.com/q/l/?s={symbols}' shown || fail "show: $(cat shown)"

cat > quote-sources.json <<'JSON'
{"chain": ["Local"],
 "sources": [{"name": "Local", "url": "http://127.0.0.1:9/q?s={symbol}", "format": "json",
              "fields": {"price": "/price"}},
             {"name": "Broken", "url": "http://127.0.0.1:9/q", "format": "json",
              "fields": {"price": "/price"}}]}
JSON
"$cli" sources > list 2> err || fail "sources with a file"
grep -qx ' 1  Local (yours)' list || fail "the user's source is not first: $(cat list)"
grep -q 'source 2 ("Broken"): The address needs {symbol}' err || fail "no reason for a bad definition: $(cat err)"
grep -q 'kept as .*quote-sources.json.bak' err || fail "the damaged file is not kept: $(cat err)"
cat > quote-sources.json <<'JSON'
{"chain": ["Local"],
 "sources": [{"name": "Local", "url": "http://127.0.0.1:9/q?s={symbol}", "format": "json",
              "fields": {"price": "/price"}}]}
JSON

"$cli" sources test Local ACME > out 2> err
[ $? -eq 1 ] || fail "a test without an answer succeeded"
grep -q '^Address: http://127.0.0.1:9/q?s=ACME$' out || fail "test address: $(cat out)"
grep -q '^No answer: could not reach 127.0.0.1:9' out || fail "test reason: $(cat out)"

status 2 sources test Nobody ACME
status 2 update demo.kx7 --source Nobody
status 2 update demo.kx7 --source

status 0 demo demo.kx7
cp demo.kx7 demo.orig
status 1 update demo.kx7
grep -q 'no price for ACME: Local: could not reach 127.0.0.1:9' err || fail "update reason: $(cat err)"
cmp -s demo.kx7 demo.orig || fail "an update without prices wrote the file"

finish "quote sources: all passed"
