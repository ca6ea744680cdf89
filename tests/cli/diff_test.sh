# tirna520-cli diff: the report parameters that differ side by side, then the bytes the window
# does not show, and the statuses 0 (same), 1 (different), 3 (file error).
source "$TEST_LIB"

expect_status 0 "$cli" new -o "$T/a.tn5"
cp "$T/a.tn5" "$T/b.tn5"
expect_status 0 env -C "$T" "$cli" diff a.tn5 b.tn5
[ ! -s "$T/out" ] || fail "equal files printed $(cat "$T/out")"

expect_status 0 "$cli" set "$T/b.tn5" f_rx1=150 no_kan3=V "memo1=$(printf 'A\nB')"
# Bytes the window does not show: the unused area, the fixed bytes after the identification block,
# the header of packet 5, the frequency of a channel that is off, and the last byte of the free
# text (erased 0xFF in one file, the 0x00 filling of set_dop_dat in the other).
poke "$T/b.tn5" "$(offset_of $((0x100)))" 00
poke "$T/b.tn5" "$(offset_of $((0x2D8)))" 01
poke "$T/b.tn5" $((4 * 12)) 58
poke "$T/b.tn5" "$(offset_of $((0x21)))" 5d
expect_status 1 env -C "$T" "$cli" diff a.tn5 b.tn5
cat >"$T/expected" <<'OUT'
parameter  a.tn5           b.tn5
f_rx1      "  160,000000"  "  150,000000"
no_kan3    ""              "V"
f_rx3      "  160,000000"  ""
st_rx3     " Выключен"     ""
f_tx3      "  160,000000"  ""
st_tx3     " Выключен"     ""
pow3       "  Повышен."    ""
band3      "   25 кГц"     ""
skan3      "  Выключен"    ""
busy3      "  Выключен"    ""
memo1      ""              "A\nB"

bytes the window does not show:
address                 a.tn5  b.tn5
packet 5 header byte 0  57     58
0x021                   64     5D
0x100                   FF     00
0x2D8                   00     01
0x3BF                   FF     00
OUT
diff -u "$T/expected" "$T/out" || fail "diff listing"

# Only hidden bytes: status 1 with the byte listing alone.
cp "$T/a.tn5" "$T/c.tn5"
poke "$T/c.tn5" "$(offset_of $((0x3FF)))" 00
expect_status 1 env -C "$T" "$cli" diff a.tn5 c.tn5
[ "$(head -1 "$T/out")" = "bytes the window does not show:" ] || fail "hidden-only listing"
expect_line "$T/out" "0x3FF    FF     00"

# A different coding version shows as coding_version and as every frequency.
expect_status 0 "$cli" new --coding-version 4 -o "$T/d.tn5"
expect_status 1 env -C "$T" "$cli" diff a.tn5 d.tn5
grep -q '^coding_version  *"2"  *"4"$' "$T/out" || fail "coding_version line"

expect_status 3 "$cli" diff "$T/a.tn5" "$T/missing.tn5"
grep -q 'File not found\.$' "$T/err" || fail "missing file message"
expect_status 2 "$cli" diff "$T/a.tn5"
echo ok
