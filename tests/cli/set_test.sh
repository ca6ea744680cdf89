# tirna520-cli set: every kind of parameter round trips through show, refused values leave the
# file byte for byte, and the statuses of usage errors.
source "$TEST_LIB"

expect_status 0 "$cli" new -o "$T/a.tn5"
cp "$T/a.tn5" "$T/orig.tn5"

# bytes FILE ADDRESS COUNT: the memory bytes as hex without blanks.
bytes() {
  local a
  for ((a = $2; a < $2 + $3; a++)); do od -An -tx1 -j "$(offset_of "$a")" -N 1 "$1"; done | tr -d ' \n'
}

# Frequencies as typed into the dialog; the old coding stores 151.0125 as 151.010 and says so.
expect_status 0 "$cli" set "$T/a.tn5" f_rx1=150,5 f_tx1=151.0125 "f_rx2=  170,000000"
grep -q '^note: f_tx1="151.0125" is stored as "  151,010000"' "$T/err" || fail "no truncation note"
# Sub-tones as shown, with or without their blanks.
expect_status 0 "$cli" set "$T/a.tn5" "st_rx1=CTC 67,0" "st_tx1=  -DCS 754" "st_tx2=DCS 411" \
  "st_rx3=CTC 254.1" st_rx2=Выключен
# Flag cells, boxes, settings (the Latin "c" of the list need not be typed), the free text.
expect_status 0 "$cli" set "$T/a.tn5" pow3=Понижен. "band3=12,5 кГц" skan3=Включен \
  "busy3=   Включен" no_tx4=V no_kan5=V "osn1=10 минут" osn6=9 "osn10=0,5 секунд" \
  'osn14=Продолжительное нажатие (кн."ШПД")' "osn13=Перекл. режимов шумоподавителя" \
  "memo1=$(printf 'Позывной 5\nсмена 2')"
expect_status 0 "$cli" show --json "$T/a.tn5"
for line in '"f_rx1": "  150,500000",' '"f_tx1": "  151,010000",' '"f_rx2": "  170,000000",' \
  '"st_rx1": "  CTC 67,0",' '"st_tx1": "  -DCS 754",' '"st_tx2": "   DCS 411",' \
  '"st_rx3": "  CTC 254,1",' '"st_rx2": " Выключен",' '"pow3": "  Понижен.",' \
  '"band3": "  12,5 кГц",' '"skan3": "   Включен",' '"busy3": "   Включен",' '"no_tx4": "V",' \
  '"f_tx4": "",' '"no_kan5": "V",' '"f_rx5": "",' '"osn1": "10 минут",' '"osn6": "9",' \
  '"osn10": "0,5 cекунд",' '"osn13": "Перекл. режимов шумоподавителя",' \
  '"osn14": "Продолжительное нажатие (кн.\"ШПД\")",' '"memo1": "Позывной 5\nсмена 2",'; do
  expect_line "$T/out" "  $line"
done
[ "$(bytes "$T/a.tn5" 0 5)" = "105e3c7006" ] || fail "f_rx1 and st_rx1 bytes"
[ "$(bytes "$T/a.tn5" 7 3)" = "78ec01" ] || fail "st_tx1 bytes"
[ "$(bytes "$T/a.tn5" $((0x2B0)) 1)" = "80" ] || fail "squelch key code 4"
[ "$(bytes "$T/a.tn5" $((0x2B4)) 1)" = "02" ] || fail "power selection"
[ "$(bytes "$T/a.tn5" $((0x300)) 4)" = "cfeee7fb" ] || fail "free text in code page 1251"

# A channel that is off takes edits once the same call switches it on first.
cp "$T/a.tn5" "$T/b.tn5"
expect_status 8 "$cli" set "$T/b.tn5" f_rx5=150 no_kan5=
cmp -s "$T/a.tn5" "$T/b.tn5" || fail "a refused call changed the file"
grep -q '^set: f_rx5="150": channel 5 is off' "$T/err" || fail "channel off message"
expect_status 0 "$cli" set "$T/b.tn5" no_kan5= f_rx5=150
expect_status 0 "$cli" show --json "$T/b.tn5"
expect_line "$T/out" '  "f_rx5": "  150,000000",'

# Values the window shows already change nothing: the file keeps its time stamp and bytes.
cp "$T/a.tn5" "$T/c.tn5"
expect_status 0 "$cli" set "$T/c.tn5" "f_rx1=  150,500000" pow3=Понижен. no_kan5=V f_rx5= osn6=9
cmp -s "$T/a.tn5" "$T/c.tn5" || fail "values already shown changed the file"

# Refused values: status 8, one message naming each, the file byte for byte as it was.
refuse() {
  local what=$1; shift
  expect_status 8 "$cli" set "$T/a.tn5" "$@"
  grep -q -- "$what" "$T/err" || fail "expected '$what' in: $(cat "$T/err")"
  grep -q '^set: nothing was changed in ' "$T/err" || fail "no closing line"
  cmp -s "$T/a.tn5" "$T/c.tn5" || fail "refused '$*' changed the file"
}
refuse '^set: f_rx1="175,000001": outside the band 146,000000 to 175,000000 MHz' f_rx1=175,000001
refuse '^set: f_rx1="460": outside the band' f_rx1=460
refuse '^set: f_rx1="16o": not a frequency' f_rx1=16o
refuse '^set: f_rx1="": no frequency' f_rx1=
refuse '^set: f_tx4="150": the transmitter of channel 4 is inhibited' f_tx4=150
refuse '^set: pow4="  Понижен.": the transmitter of channel 4 is inhibited' "pow4=  Понижен."
refuse '^set: no_tx5="V": channel 5 is off' no_tx5=V
refuse '^set: st_rx1="DCS 089": the sub-tone dialog refuses it' "st_rx1=DCS 089"
refuse '^set: st_rx1="CTC 6,5": the sub-tone dialog refuses it' "st_rx1=CTC 6,5"
refuse '^set: st_rx1="CTCSS 67": not a sub-tone' "st_rx1=CTCSS 67"
refuse '^set: band1="20 кГц": takes "   25 кГц" or "  12,5 кГц"' "band1=20 кГц"
refuse '^set: no_kan1="yes": takes V' no_kan1=yes
refuse '^set: osn2="32 секунды": not an item of the list (256 items' "osn2=32 секунды"
refuse '^set: osn13="Временное откл. тонового шумоподавителя": not an item of the list (3 items' \
  "osn13=Временное откл. тонового шумоподавителя"
refuse '^set: memo1=.*: 193 bytes in code page 1251' "memo1=$(head -c 193 /dev/zero | tr '\0' x)"
refuse '^set: memo1="\\u0001 ☺": holds a character that code page 1251 cannot store' \
  "memo1=$(printf '\001') ☺"
refuse '^set: model="x": cannot be set' model=x
refuse '^set: frq="x": cannot be set: the band is chosen' frq=x
refuse '^set: foo="1": unknown parameter' foo=1
refuse '^set: f_rx17="150": unknown parameter' f_rx17=150
# All or nothing: good assignments around a refused one are not written either.
refuse '^set: f_rx2="1000": outside the band' f_rx1=155 f_rx2=1000 pow1=Понижен.
[ "$(grep -c '^set: ' "$T/err")" -eq 2 ] || fail "one refusal and the closing line expected"
# Every refusal of a call is reported.
expect_status 8 "$cli" set "$T/a.tn5" f_rx1=1000 foo=1 band1=x
[ "$(grep -c '^set: .*=' "$T/err")" -eq 3 ] || fail "three refusals expected: $(cat "$T/err")"

# A channel is checked whole after the call, whatever route its values took: switched on, channel 5
# would carry the 500 MHz its record holds (old coding: 80000 steps of 6.25 kHz).
cp "$T/a.tn5" "$T/d.tn5"
poke "$T/d.tn5" "$(offset_of 64)" 80 38 05
cp "$T/d.tn5" "$T/d.orig"
expect_status 8 "$cli" set "$T/d.tn5" no_kan5= pow5=Понижен.
grep -q '^set: pow5="Понижен.": channel 5: the receive frequency 500.000000 MHz is outside the band 146.000000 to 175.000000 MHz' "$T/err" ||
  fail "the channel check's refusal: $(cat "$T/err")"
cmp -s "$T/d.tn5" "$T/d.orig" || fail "a refused channel changed the file"

# Usage errors and file errors.
expect_status 2 "$cli" set "$T/a.tn5" f_rx1
grep -q '"f_rx1" is not NAME=VALUE' "$T/err" || fail "no-'=' message"
expect_status 2 "$cli" set "$T/a.tn5"
expect_status 3 "$cli" set "$T/missing.tn5" f_rx1=150
cmp -s "$T/a.tn5" "$T/c.tn5" || fail "the file changed"
echo ok
