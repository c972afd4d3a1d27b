#!/usr/bin/env bash
# veskar rules and veskar audit on a copy of the data folder: the rules of a
# report type through the manager (--type) beside a bare rule set (--set),
# every verb, and clear errors and exit codes for bad indexes and usage.
set -u
veskar=${1:?usage: cli_rules.sh VESKAR DATA_DIR}
data=${2:?}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cp -r "$data" "$work/Data"
v() { "$veskar" "$@" --data "$work"; }
expect() { want=$1; shift; v "$@" > "$work/ec.out" 2>&1; got=$?
  [ $got -eq $want ] || fail "veskar $* exits $got, not $want: $(head -3 "$work/ec.out")"; }
count() { v "$@" | wc -l; }

rules=$(count rules list --type 3)
[ "$rules" -gt 10 ] || fail "type 3 lists $rules extraction rules"
v types | grep -q "^3	$rules	" || fail "types disagrees with rules list: $(v types)"
v rules show 0 --type 3 | grep -q '"rule"' || fail "rules show prints no rule"

# add, edit, delete through the manager: the type's counts follow.
rule=$(v rules show 0 --type 3 | tr -d '\n' | sed 's/"no" : "[^"]*"/"no" : "99.1"/; s/甲方/委托人/g')
v rules add "$rule" --type 3 > "$work/add.out" 2>&1 || fail "rules add: $(cat "$work/add.out")"
[ "$(count rules list --type 3)" -eq $((rules + 1)) ] || fail "rules add did not add"
v rules edit "$rules" "$(echo "$rule" | sed 's/99.1/99.2/')" --type 3 > /dev/null 2>&1 || fail "rules edit failed"
v rules list --type 3 | grep -q "99.2" || fail "rules edit did not replace the rule"
v rules delete "$rules" --type 3 > /dev/null 2>&1 || fail "rules delete failed"
[ "$(count rules list --type 3)" -eq "$rules" ] || fail "rules delete did not delete"
v rules export "$work/r3.txt" --type 3 > /dev/null && [ -s "$work/r3.txt" ] || fail "rules export wrote nothing"

# A bad index changes nothing and fails; usage errors are 2.
expect 1 rules delete 9999 --type 3
expect 1 rules show 9999 --type 3
expect 1 audit delete 9999 --type 3
expect 2 rules list --type 3 --set 3
expect 2 rules list
expect 2 rules list --type 20
expect 2 rules show x --type 3
expect 2 rules edit 1 --type 3
expect 2 audit frobnicate --type 3
[ "$(count rules list --type 3)" -eq "$rules" ] || fail "a failed change changed the rules"

# import into a new type: a source without audits still brings its rules,
# and a pattern starting with a Chinese character is reported readably.
printf '<item>\n<no>1</no><name>a</name><rule>{[甲方]+[/wm]}</rule><action>extract</action><field>text</field><argument>party|p</argument>\n</item>\n' > "$work/src.txt"
v rules import "$work/src.txt" --type 9 > "$work/imp.out" 2>&1 || fail "rules import --type: $(cat "$work/imp.out")"
grep -q "report type 9: 1 rules" "$work/imp.out" || fail "import summary: $(cat "$work/imp.out")"
v types | grep -q "^9	1	0" || fail "type 9 not listed: $(v types)"
printf '<item>\n<no>1</no><name>a</name><rule>甲方[w:x]</rule><action>extract</action><field>text</field><argument>party|p</argument>\n</item>\n' > "$work/bad.txt"
v rules import "$work/bad.txt" --set 11 > "$work/bad.out" 2>&1
grep -q "甲处应该为区格的起始符合" "$work/bad.out" || fail "garbled rule message: $(cat "$work/bad.out")"

# audit rules of the type through the same verbs.
audits=$(count audit list --type 3)
v audit add '{"no":"A9","name":"x","rule":"audit_not_null","field":"party_a"}' --type 3 > /dev/null 2>&1 \
  || fail "audit add failed"
[ "$(count audit list --type 3)" -eq $((audits + 1)) ] || fail "audit add did not add"
v audit show "$audits" --type 3 | grep -q '"A9"' || fail "audit show of the new rule"
v audit delete "$audits" --type 3 > /dev/null 2>&1 || fail "audit delete failed"
v audit export --type 3 | grep -q . || fail "audit export printed nothing"
echo "cli rules: all passed"
