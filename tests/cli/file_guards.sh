#!/usr/bin/env bash
# The commands that write a portfolio never write over a file they read only in part, nor
# over a file another program has open, whatever name leads to it, nor after an update in
# which no price arrived; and no command waits on a FIFO given as a portfolio or as the
# settings file.
source "$(dirname "$0")/lib.sh" "$1"
export VELMORA_CONFIG=$work/velmora.ini
cd "$work" || exit 1

"$cli" demo demo.kx7 || { echo "could not write the demo portfolio"; exit 1; }
# The third record's tag is one no version writes: reading stops there, with a warning.
cp demo.kx7 partial.kx7
perl -0777 -pi -e 'my $n = 0; s/Purchase/++$n == 3 ? "Purchasx" : "Purchase"/ge' partial.kx7
cp partial.kx7 partial.orig

# A partly read file is refused by every writing command, twice over, and stays whole.
for run in 1 2; do
    status 1 update partial.kx7
    grep -q "read only in part" err || fail "update $run does not say why: $(cat err)"
    status 1 convert partial.kx7 partial.kx7
    status 1 convert partial.kx7 other.kx7
done
cmp -s partial.kx7 partial.orig || fail "the partly read file was changed"
[ ! -e partial.kx7.bak ] || fail "a backup was made from a partly read file"
[ ! -e other.kx7 ] || fail "convert wrote a partly read portfolio without --force"

# With --force, what was read goes to a new file; the original stays as it is.
status 0 convert partial.kx7 partial.kx7 --force
cmp -s partial.kx7 partial.orig || fail "--force wrote over the partly read file"
[ -s partial-recovered.kx7 ] || fail "--force wrote no new file"
grep -q "partial-recovered.kx7" err || fail "--force does not say where it wrote: $(cat err)"
status 0 convert partial.kx7 partial.kx7 --force
[ -s partial-recovered-2.kx7 ] || fail "a second --force took an existing name"
status 0 dump partial-recovered.kx7
[ ! -s err ] || fail "the recovered file does not read whole: $(cat err)"

# Another program holds the lock of held.kx7 (as the desktop program does: flock on the
# lock file, naming itself). Writing it by its name or through a link is refused.
cp demo.kx7 held.kx7
cp held.kx7 held.orig
ln -s held.kx7 link.kx7
exec 9>> .~held.kx7.lock
flock -n 9 || fail "could not take the lock for the test"
printf '%s\n%s\n' "$$" "$(uname -n)" >&9
status 1 convert demo.kx7 held.kx7
grep -q "open in another program" err || fail "convert does not name the holder: $(cat err)"
status 1 convert demo.kx7 link.kx7
status 1 demo link.kx7
status 1 update link.kx7
cmp -s held.kx7 held.orig || fail "a locked file was written"
[ ! -e held.kx7.bak ] || fail "a locked file was backed up"
rm .~held.kx7.lock
exec 9>&-

# Released, the same commands write it.
status 0 convert demo.kx7 link.kx7
[ -L link.kx7 ] || fail "the link was replaced instead of the file it names"
[ ! -e .~held.kx7.lock ] || fail "the lock file was left behind"

# An update in which no price arrives fails, says why for each symbol, and writes nothing.
printf '[QuoteHosts]\nYahoo=127.0.0.1:9\n' > velmora.ini
cp demo.kx7 quiet.kx7
cp quiet.kx7 quiet.orig
status 1 update quiet.kx7 --source 1
grep -q "no price for ACME: could not connect to 127.0.0.1:9" err || fail "update does not say why: $(cat err)"
grep -q "no price arrived" err || fail "update does not say that nothing arrived: $(cat err)"
cmp -s quiet.kx7 quiet.orig || fail "an update without prices wrote the file"
rm velmora.ini

# A FIFO is refused at once, as a portfolio and as the settings file.
mkfifo fifo.kx7
timeout 10 "$cli" dump fifo.kx7 > /dev/null 2> err
[ $? -eq 1 ] || fail "dump of a FIFO: not refused ($(cat err))"
grep -q "not a regular file" err || fail "dump of a FIFO does not say why: $(cat err)"
VELMORA_CONFIG=fifo.kx7 timeout 10 "$cli" settings > out 2> err
[ $? -eq 0 ] || fail "settings from a FIFO did not fall back to the defaults"
grep -q "The default settings are used" err || fail "a FIFO as settings file is not told"
grep -q "ShowCount=20" out || fail "the default settings are not shown: $(cat out)"

finish "all file guards hold"
