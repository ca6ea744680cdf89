# tirna520-cli export-csv and import-csv: the round trip gives back the same channel records, the
# round trip through CHIRP gives back the same channels, every file CHIRP writes imports, refused
# rows are all reported and change nothing.
source "$TEST_LIB"

# channels FILE: the 32 records of the 16 channels, headers included.
channels() { head -c 384 "$1" | od -An -tx1; }

# A file that uses every field in every way the window can set it.
expect_status 0 "$cli" new -o "$T/src.tn5"
expect_status 0 "$cli" set "$T/src.tn5" \
  f_rx1=150,025 f_tx1=150,625 f_rx2=151 f_tx2=147 f_rx3=152,5 \
  "st_tx4=CTC 67,0" "st_rx5=CTC 100,0" "st_tx5=CTC 100,0" "st_rx6=CTC 69,3" "st_tx6=CTC 254,1" \
  "st_rx7=-DCS 023" "st_tx7=DCS 023" "st_rx8=DCS 017" "st_tx8=-DCS 754" "st_rx9=-DCS 411" \
  "st_tx9=CTC 88,5" "st_tx10=DCS 411" "st_rx10=CTC 88,5" "st_rx11=CTC 123,0" "st_rx12=DCS 114" \
  "st_tx13=-DCS 114" f_tx14=151 "st_tx14=CTC 67,0" no_tx14=V "st_rx15=CTC 67,0" no_kan15=V \
  "band16=12,5 кГц" skan16=Включен pow16=Понижен. busy16=Включен skan1=Включен

expect_status 0 "$cli" export-csv "$T/src.tn5" -o "$T/list.csv"
head -1 "$T/list.csv" | grep -q '^Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,ChannelOff,BusyLockout,TxFrequency,Record' ||
  fail "header: $(head -1 "$T/list.csv")"
[ "$(wc -l <"$T/list.csv")" -eq 17 ] || fail "16 rows expected"
grep -q '^1,,150.025000,+,0.600000,,' "$T/list.csv" || fail "row 1"
grep -q '^2,,151.000000,-,4.000000,' "$T/list.csv" || fail "row 2"
grep -q '^5,,160.000000,,0.000000,TSQL,100.0,100.0,' "$T/list.csv" || fail "row 5"
grep -q '^7,,160.000000,,0.000000,DTCS,88.5,88.5,023,NR,023,' "$T/list.csv" || fail "row 7"
grep -q '^8,.*,Cross,88.5,88.5,754,RN,017,DTCS->DTCS,' "$T/list.csv" || fail "row 8"
grep -q '^14,,160.000000,off,0.000000,Tone,67.0,.*,,,151.000000,' "$T/list.csv" || fail "row 14"
grep -q '^#15,.*,,V,,,' "$T/list.csv" || fail "row 15: a channel that is off is a comment for CHIRP"
grep -q '^16,.*,NFM,6.25,,5.0W,,,V,,' "$T/list.csv" || fail "row 16"
grep -q '^1,.*,25W,' "$T/list.csv" || fail "row 1: full power in watts"
# A tone CHIRP cannot hold is named, both sides of a channel on one line.
expect_status 0 "$cli" new -o "$T/tones.tn5"
expect_status 0 "$cli" set "$T/tones.tn5" "st_rx2=CTC 301,0" "st_tx2=CTC 40,0"
expect_status 0 "$cli" export-csv "$T/tones.tn5" -o "$T/tones.csv"
expect_line "$T/err" "note: channel 2: receive tone 301.0 Hz is outside CHIRP's 50-300 Hz; transmit tone 40.0 Hz is outside CHIRP's 50-300 Hz; CHIRP will refuse its row"
# To standard output as well.
expect_status 0 "$cli" export-csv "$T/src.tn5" -o -
cmp -s "$T/out" "$T/list.csv" || fail "export to standard output differs"

# Back into the same file: nothing changes. Into a new file: the same channel records, with and
# without our Record column.
cp "$T/src.tn5" "$T/same.tn5"
expect_status 0 "$cli" import-csv "$T/same.tn5" "$T/list.csv"
cmp -s "$T/src.tn5" "$T/same.tn5" || fail "importing a file's own export changed it"
expect_status 0 "$cli" new -o "$T/dst.tn5"
expect_status 0 "$cli" import-csv "$T/dst.tn5" "$T/list.csv"
[ "$(channels "$T/dst.tn5")" = "$(channels "$T/src.tn5")" ] || fail "records differ after import"
sed 's/,[^,]*\r$/\r/' "$T/list.csv" >"$T/norecord.csv"
grep -q ',Record' "$T/norecord.csv" && fail "the Record column was not removed"
expect_status 0 "$cli" new -o "$T/dst2.tn5"
expect_status 0 "$cli" import-csv "$T/dst2.tn5" - <"$T/norecord.csv"
[ "$(channels "$T/dst2.tn5")" = "$(channels "$T/src.tn5")" ] || fail "records differ without Record"

# The round trip through CHIRP: it opens the file, keeps only its own columns (in its order, under
# the header its files have) and its memories (it skips comment lines), and saves it. This writer
# does what CHIRP does to our table; the sample's header is CHIRP's own.
chirp_save() {
  awk -F, -v OFS=, -v header="$(head -1 "$TEST_DATA/chirp/chirp-std.csv" | tr -d '\r')" '
    BEGIN { n = split(header, names, ",") }
    { sub(/\r$/, "") }
    NR == 1 { for (i = 1; i <= NF; i++) at[$i] = i; print header; next }
    /^#/ { next }
    { line = ""; for (i = 1; i <= n; i++) line = line (i > 1 ? "," : "") (names[i] in at ? $(at[names[i]]) : "")
      print line }' "$1"
}
chirp_save "$T/list.csv" >"$T/chirp-saved.csv"
grep -q 'ChannelOff\|Record' "$T/chirp-saved.csv" && fail "the CHIRP writer kept our columns"
cp "$T/src.tn5" "$T/through-chirp.tn5"
expect_status 0 "$cli" import-csv "$T/through-chirp.tn5" "$T/chirp-saved.csv"
expect_status 0 "$cli" diff "$T/src.tn5" "$T/through-chirp.tn5"
# A channel that is off stays off; the note says why the channels without a row are off.
expect_status 0 "$cli" new -o "$T/fresh.tn5"
expect_status 0 "$cli" import-csv "$T/fresh.tn5" "$T/chirp-saved.csv"
expect_line "$T/err" "$T/chirp-saved.csv: note: channel 15 has no row and is switched off, as CHIRP's empty memories are (--keep-missing keeps it as it is)"
expect_status 0 "$cli" show --json "$T/fresh.tn5"
expect_line "$T/out" '  "no_kan15": "V",'

# Every file CHIRP writes imports into a new file, with CHIRP's channels: memories beyond 16
# skipped with one note, CHIRP's 0-based numbering mapped with --first-location 0.
expect_status 0 "$cli" new -o "$T/std.tn5"
expect_status 0 "$cli" import-csv "$T/std.tn5" "$TEST_DATA/chirp/chirp-std.csv"
expect_line "$T/err" "$TEST_DATA/chirp/chirp-std.csv:16: note: Frequency 158.012500 is stored as 158.010000: the frequency coding of the file keeps no finer frequency"
[ "$(grep -c 'note: ' "$T/err")" -eq 1 ] || fail "a simplex row got two notes: $(cat "$T/err")"
expect_status 0 "$cli" show --json "$T/std.tn5"
for line in '"f_rx2": "  150,500000",' '"f_tx2": "  151,100000",' '"pow1": "  Повышен.",' \
  '"pow15": "  Понижен.",' '"band15": "  12,5 кГц",' '"skan15": "  Выключен",' '"no_tx13": "V",' \
  '"f_tx14": "  162,000000",' '"st_tx7": "  -DCS 411",' '"st_rx7": "  CTC 250,3",'; do
  expect_line "$T/out" "  $line"
done
expect_status 0 "$cli" new -o "$T/big.tn5"
expect_status 0 "$cli" import-csv "$T/big.tn5" "$TEST_DATA/chirp/chirp-big.csv"
expect_line "$T/err" "$TEST_DATA/chirp/chirp-big.csv: note: the rows of Location 17-40 are skipped: the radio has channels 1 to 16 (--first-location N makes memory N channel 1)"
expect_status 0 "$cli" new -o "$T/zero.tn5"
expect_status 0 "$cli" import-csv "$T/zero.tn5" "$TEST_DATA/chirp/chirp-zero.csv" --first-location 0
expect_status 0 "$cli" show --json "$T/zero.tn5"
expect_line "$T/out" '  "f_rx1": "  150,000000",'
expect_line "$T/out" '  "f_rx16": "  150,375000",'
# No row for any channel: refused.
printf 'Location,Frequency\n0,150\n17,151\n' >"$T/none.csv"
expect_status 8 "$cli" import-csv "$T/zero.tn5" "$T/none.csv"
expect_line "$T/err" "$T/none.csv:1: Location \"\": no row names a channel 1 to 16 (the rows give Location 0, 17; --first-location N makes memory N channel 1)"

# A table as CHIRP or a spreadsheet with European settings writes it: byte order mark, CR LF,
# ';' and decimal commas, columns in another order, extra columns, some columns missing.
expect_status 0 "$cli" new -o "$T/chirp.tn5"
printf '\357\273\277Location;Name;Frequency;Duplex;Offset;Tone;rToneFreq;cToneFreq;DtcsCode;DtcsPolarity;Mode;TStep;Skip;Bank;URCALL;Comment\r\n' >"$T/chirp.csv"
printf '1;Repeater;150,500000;+;0,600000;Tone;88,5;88,5;023;NN;FM;5,00;;A;;"a; b"\r\n' >>"$T/chirp.csv"
printf '2;Kept;160,000000;;;;;;;;;;;;;\r\n' >>"$T/chirp.csv"
printf '3;Simplex;151,012500;;0,000000;TSQL;67,0;71,9;023;NN;NFM;12,50;S;;;\r\n' >>"$T/chirp.csv"
printf '4;Code;152,000000;split;153,500000;DTCS;88,5;88,5;23;RR;FM;5,00;;;;\r\n' >>"$T/chirp.csv"
printf ';;;;;;;;;;;;;;;\r\n' >>"$T/chirp.csv"
expect_status 0 "$cli" import-csv "$T/chirp.tn5" "$T/chirp.csv"
grep -q 'chirp.csv:4: note: Frequency 151.012500 is stored as 151.010000' "$T/err" ||
  fail "no note on the stored frequency: $(cat "$T/err")"
expect_status 0 "$cli" show --json "$T/chirp.tn5"
for line in '"f_rx1": "  150,500000",' '"f_tx1": "  151,100000",' '"st_tx1": "  CTC 88,5",' \
  '"st_rx1": " Выключен",' '"skan1": "   Включен",' '"f_rx3": "  151,010000",' \
  '"st_rx3": "  CTC 71,9",' '"st_tx3": "  CTC 71,9",' '"band3": "  12,5 кГц",' \
  '"skan3": "  Выключен",' '"f_tx4": "  153,500000",' '"st_rx4": "  -DCS 023",' \
  '"st_tx4": "  -DCS 023",' '"pow4": "  Повышен.",' '"f_rx2": "  160,000000",'; do
  expect_line "$T/out" "  $line"
done

# Refused rows: every one is reported with its line, the file stays as it was.
cp "$T/chirp.tn5" "$T/kept.tn5"
cat >"$T/bad.csv" <<'CSV'
Location,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,Mode,Skip,Power
1,460.000000,,,,,,,FM,,High
2,150.000000,,,Tone,6.5,,,FM,,High
3,150.000000,,,DTCS,,,089,FM,,High
4,150.000000,,,,,,,AM,,High
5,150.000000,,,TSQL-R,67.0,67.0,,FM,P,5 kW
1.5,150.000000,,,,,,,FM,,High
2,150.000000,,,,,,,FM,,High
CSV
expect_status 8 env -C "$T" "$cli" import-csv chirp.tn5 bad.csv
cmp -s "$T/chirp.tn5" "$T/kept.tn5" || fail "a refused import changed the file"
for line in \
  'bad.csv:2: Frequency "460.000000": outside the band 146.000000 to 175.000000 MHz of the file' \
  'bad.csv:3: rToneFreq "6.5": a tone or code the radio cannot store: «6,5» не является допустимым значением субтона. (tones 10.0 to 999.9 Hz, DCS codes of three octal digits)' \
  'bad.csv:4: DtcsCode "089": a tone or code the radio cannot store: «089» не является допустимым значением субтона. (tones 10.0 to 999.9 Hz, DCS codes of three octal digits)' \
  'bad.csv:5: Mode "AM": a mode the radio does not have (FM for 25 kHz, NFM for 12.5 kHz)' \
  'bad.csv:6: Tone "TSQL-R": a tone mode the radio does not have ("", Tone, TSQL, DTCS or Cross; it has no reverse squelch)' \
  'bad.csv:6: Skip "P": Skip takes "" (scanned) or S (left out of scanning)' \
  'bad.csv:6: Power "5 kW": Power takes watts (25W, 5.0W) or High or Low' \
  'bad.csv:7: Location "1.5": Location must be a whole number' \
  'bad.csv:8: Location "2": the channel was given on line 3' \
  "import-csv: nothing was changed in chirp.tn5"; do
  expect_line "$T/err" "$line"
done

# Whole-table problems and file errors.
printf 'Frequency\n150\n' >"$T/noloc.csv"
expect_status 8 env -C "$T" "$cli" import-csv chirp.tn5 noloc.csv
grep -q '^noloc.csv:1: Location "": the header names no Location column' "$T/err" || fail "no Location"
printf 'Location\n"1\n' >"$T/quote.csv"
expect_status 8 env -C "$T" "$cli" import-csv chirp.tn5 quote.csv
grep -q '^quote.csv:2: a quoted field is not closed' "$T/err" || fail "unclosed quote"
expect_status 3 "$cli" import-csv "$T/chirp.tn5" "$T/missing.csv"
expect_status 3 "$cli" export-csv "$T/chirp.tn5" -o "$T/no/such/folder.csv"
expect_status 3 "$cli" export-csv "$T/missing.tn5" -o "$T/x.csv"
expect_status 2 "$cli" export-csv "$T/chirp.tn5"
cmp -s "$T/chirp.tn5" "$T/kept.tn5" || fail "the file changed"
echo ok
