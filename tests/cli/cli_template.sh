#!/usr/bin/env bash
# veskar template on a copy of the data folder: the default templates are
# listed, a template learnt from a sample is stored, shown, exported and
# picked by a check that names its organisation, and deleting it brings the
# store back as it was. Bad input gives a clear message and a nonzero exit.
set -u
veskar=${1:?usage: cli_template.sh VESKAR DATA_DIR SAMPLES_DIR}
data=${2:?}
samples=${3:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cp -r "$data" "$work/Data"
v() { "$veskar" "$@" --data "$work"; }
# Exits exactly with the code wanted (a crash would be 128 and up) and says
# something on the way.
expect() { want=$1; shift; v "$@" > "$work/ec.out" 2>&1; got=$?
  [ $got -eq $want ] || fail "veskar $* exits $got, not $want: $(head -3 "$work/ec.out")"
  [ -s "$work/ec.out" ] || fail "veskar $* exits $got without a word"; }
org=某大学

v template list > "$work/before.txt" || fail "template list failed"
defaults=$(($(wc -l < "$work/before.txt") - 1))
[ "$defaults" -ge 6 ] || fail "only $defaults default templates: $(cat "$work/before.txt")"
for type in 1 2 4 5 6 7; do
  grep -Eq "^[0-9]+ +$type +\*" "$work/before.txt" || fail "no default template for type $type"
done

# A thesis template learnt from the research report sample: its looks
# differ from the thesis sample's, so a check that picks it finds them.
v template import "$samples/research.docx" --type 7 --org "$org" > "$work/import.out" 2>&1 \
  || fail "template import: $(cat "$work/import.out")"
id=$(sed -n 's/^template \([0-9][0-9]*\):.*/\1/p' "$work/import.out")
[ -n "$id" ] || fail "import printed no id: $(cat "$work/import.out")"
echo "imported template $id"
[ "$(v template list | wc -l)" -eq $((defaults + 2)) ] || fail "import did not add one template"
v template list --type 7 --org "$org" | grep -Eq "^$id +7 +$org" || fail "list --org misses template $id"
v template show "$id" > "$work/show.json" || fail "template show $id failed"
grep -q "\"rux_organization\":\"$org\"" "$work/show.json" || fail "show: $(head -c 300 "$work/show.json")"
grep -q '"docReportType":"7"' "$work/show.json" || fail "show names another type"
grep -q '<fontSize>' "$work/show.json" || fail "show holds no formats"
v template export "$work/all.json" > /dev/null || fail "template export to a file failed"
[ "$(grep -c '"docReportType"' "$work/all.json")" -eq $((defaults + 1)) ] || fail "export lacks templates"
grep -q "\"id\" : $id" "$work/all.json" || fail "export lacks the id $id"
# jsoncpp may write the organisation as \u escapes.
v template export | grep -Eq "$org|\\\\u67d0\\\\u5927\\\\u5b66" || fail "export to standard output lacks $org"

# The same keys again replace the template instead of adding one.
v template import "$samples/research.docx" --type 7 --org "$org" > "$work/again.out" 2>&1 \
  || fail "second import: $(cat "$work/again.out")"
grep -q "^template $id:" "$work/again.out" || fail "same keys gave another id: $(cat "$work/again.out")"
[ "$(v template list | wc -l)" -eq $((defaults + 2)) ] || fail "same keys added a template"

# A check naming the organisation uses the new template; without it the
# default thesis template applies and the sample keeps its looks.
cp "$samples/thesis.docx" "$work/thesis.docx"
v check "$work/thesis.docx" --type 7 --org "$org" > "$work/picked.out" 2>&1 || fail "check --org failed"
grep -q "<template_organization>$org</template_organization>" "$work/thesis_Check.xml" \
  || fail "the result names no organisation $org"
grep -Eq "^  1\.1\.[123] " "$work/picked.out" || fail "check --org found no font, size or spacing: $(head -12 "$work/picked.out")"
v check "$work/thesis.docx" --type 7 > "$work/default.out" 2>&1 || fail "check without --org failed"
grep -Eq "^  1\.1\.[123] " "$work/default.out" && fail "the default template found looks: $(head -12 "$work/default.out")"

v template delete "$id" > "$work/delete.out" 2>&1 || fail "template delete $id: $(cat "$work/delete.out")"
v template list > "$work/after.txt"
cmp -s "$work/before.txt" "$work/after.txt" || fail "list after delete differs: $(diff "$work/before.txt" "$work/after.txt")"
v check "$work/thesis.docx" --type 7 --org "$org" > "$work/gone.out" 2>&1 || fail "check after delete failed"
grep -Eq "^  1\.1\.[123] " "$work/gone.out" && fail "the deleted template still applies"

# Bad input: clear messages, nonzero exits, the store untouched.
echo "not a package" > "$work/bad.docx"
expect 1 template import "$work/missing.docx" --type 7 --org "$org"
grep -q "missing.docx" "$work/ec.out" || fail "the missing file is not named: $(cat "$work/ec.out")"
expect 1 template import "$work/bad.docx" --type 7 --org "$org"
expect 2 template import "$samples/thesis.docx" --type 20 --org "$org"
expect 2 template import "$samples/thesis.docx" --type x --org "$org"
expect 2 template import "$samples/thesis.docx" --org "$org"
expect 2 template import "$samples/thesis.docx" --type 7
expect 2 template import --type 7 --org "$org"
expect 1 template show 999
grep -q "999" "$work/ec.out" || fail "the unknown id is not named: $(cat "$work/ec.out")"
expect 1 template delete 999
expect 2 template show abc
expect 2 template delete
expect 2 template list --type 99
expect 2 template frobnicate
expect 1 template export "$work/no/such/dir/all.json"
v template list > "$work/after.txt"
cmp -s "$work/before.txt" "$work/after.txt" || fail "bad input changed the store"
echo "cli template: all passed"
