#!/bin/sh
# run --reverse K reports what the run cut short K instructions before its end reports: the same
# registers and memory; the teletype output of the whole run stays printed.
# Arguments: corvane-cli, the program's dump, a folder to write in.
cli=$1 dump=$2 dir=$3
mkdir -p "$dir" || exit 1
"$cli" run --load-dump "$dump" --pc 101 --regs 2>"$dir/whole.regs" >"$dir/whole.out" || exit 1
total=$(sed -n 's/.* STEPS=\([0-9]*\) .*/\1/p' "$dir/whole.regs")
[ "$total" -gt 100 ] || { echo "the program ran $total instructions"; exit 1; }
for k in 1 2 37 $((total - 1)); do
  "$cli" run --load-dump "$dump" --pc 101 --reverse $k --regs --save-dump "$dir/back.dmp" \
    2>"$dir/back.regs" >"$dir/back.out" || { echo "--reverse $k failed"; exit 1; }
  "$cli" run --load-dump "$dump" --pc 101 --max-instructions $((total - k)) --regs --save-dump "$dir/short.dmp" \
    2>"$dir/short.regs" >/dev/null
  [ $? = 3 ] || { echo "--max-instructions $((total - k)) did not stop at the limit"; exit 1; }
  a=$(sed 's/ STOP=.*//' "$dir/back.regs") b=$(sed 's/ STOP=.*//' "$dir/short.regs")
  [ "$a" = "$b" ] || { echo "--reverse $k: $a"; echo "the shorter run: $b"; exit 1; }
  cmp "$dir/back.dmp" "$dir/short.dmp" || { echo "--reverse $k: the memory differs"; exit 1; }
  cmp "$dir/back.out" "$dir/whole.out" || { echo "--reverse $k: the printed output differs"; exit 1; }
done
