# Shared by the bench scripts: arithmetic on decimals and the small statistics their tables are made of.
# Sourced, not run.

calc() { awk "BEGIN { printf \"%.${2:-2}f\", $1 }"; }
median() { sort -g | awk '{ v[NR] = $1 } END { if (NR % 2) print v[(NR + 1) / 2]; else print (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
range() { sort -g | awk 'NR == 1 { lo = $1 } { hi = $1 } END { printf "%s–%s", lo, hi }'; }
# The number after "NAME=" in a line of key=value pairs.
field() { sed -n "s/.*\b$1=\([-0-9.]*\).*/\1/p"; }
# "met" when the awk condition holds, else the bold "not met" of the tables.
verdict() { if awk "BEGIN { exit !($1) }"; then echo "met"; else echo "**not met**"; fi; }
