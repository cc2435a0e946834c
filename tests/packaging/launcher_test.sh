#!/bin/sh
# The installed launcher: the user's program folder, its links to the
# installed data, and the user's own files, over an installation that
# changes between two starts.
#   launcher_test.sh PATH/TO/kirvale-launcher
set -u
launcher=$1
work=$(mktemp -d)
trap 'chmod -R u+w "$work"; rm -rf "$work"' EXIT
failures=0
check() {  # check DESCRIPTION COMMAND...
  d=$1; shift
  if "$@"; then :; else echo "FAILED: $d"; failures=$((failures + 1)); fi
}

prefix=$work/usr
mkdir -p "$prefix/bin" "$prefix/lib/kirvale" "$prefix/share/kirvale/styles"
cp "$launcher" "$prefix/bin/kirvale"
printf 'dict v1' > "$prefix/share/kirvale/multilingual.dic"
printf 'old' > "$prefix/share/kirvale/old.app"
printf 'jpg' > "$prefix/share/kirvale/styles/0.jpg"
# The program records where it was started and with which arguments.
cat > "$prefix/lib/kirvale/kirvale" <<'EOS'
#!/bin/sh
pwd > "$RECORD"
echo "$@" >> "$RECORD"
EOS
chmod +x "$prefix/lib/kirvale/kirvale"
export HOME="$work/home" RECORD="$work/record"
unset XDG_DATA_HOME
mkdir -p "$HOME"
folder=$HOME/.local/share/kirvale

# First start: the folder is made, every data file and folder is linked,
# and the program runs in it with the arguments passed on.
check "first start succeeds" "$prefix/bin/kirvale" --flag
check "program ran in the user folder" [ "$(sed -n 1p "$RECORD")" = "$folder" ]
check "arguments passed on" [ "$(sed -n 2p "$RECORD")" = "--flag" ]
check "dictionary linked" [ -L "$folder/multilingual.dic" ]
check "styles folder linked" [ "$(cat "$folder/styles/0.jpg")" = "jpg" ]

# The user's lists are real files that later starts never touch; a real
# file in place of a data file is the user's own and is kept.
printf 'my words' > "$folder/newdict.dic"
printf 'history' > "$folder/history.txt"
rm "$folder/old.app"
printf 'my appendix' > "$folder/old.app"

# A newer installation: new data, a file dropped, a file added.
printf 'dict v2' > "$prefix/share/kirvale/multilingual.dic"
rm "$prefix/share/kirvale/old.app"
printf 'new' > "$prefix/share/kirvale/new.ini"
rm "$prefix/share/kirvale/styles/0.jpg"
printf 'jpg2' > "$prefix/share/kirvale/styles/1.jpg"
check "second start succeeds" "$prefix/bin/kirvale"
check "newer dictionary used" [ "$(cat "$folder/multilingual.dic")" = "dict v2" ]
check "new data file linked" [ "$(cat "$folder/new.ini")" = "new" ]
check "new style picked up" [ "$(cat "$folder/styles/1.jpg")" = "jpg2" ]
check "notebook untouched" [ "$(cat "$folder/newdict.dic")" = "my words" ]
check "history untouched" [ "$(cat "$folder/history.txt")" = "history" ]
check "user's own file kept" [ "$(cat "$folder/old.app")" = "my appendix" ]

# A link to data the installation dropped is removed.
printf 'x' > "$prefix/share/kirvale/gone.txt"
"$prefix/bin/kirvale"
rm "$prefix/share/kirvale/gone.txt"
"$prefix/bin/kirvale"
check "dangling link removed" [ ! -L "$folder/gone.txt" ]

# XDG_DATA_HOME names the folder when it is absolute.
XDG_DATA_HOME="$work/data" "$prefix/bin/kirvale"
check "XDG_DATA_HOME honoured" [ -L "$work/data/kirvale/multilingual.dic" ]

# A folder that cannot be made: a clear message and no program.
rm -f "$RECORD"
printf 'file' > "$work/blocked"
out=$(XDG_DATA_HOME="$work/blocked" "$prefix/bin/kirvale" 2>&1)
status=$?
check "unusable folder fails" [ "$status" -ne 0 ]
check "unusable folder is named" sh -c "echo \"\$1\" | grep -q 'cannot create or write the folder'" _ "$out"
check "program not started" [ ! -e "$RECORD" ]

if [ "$failures" -ne 0 ]; then
  echo "$failures failed"
  exit 1
fi
echo "launcher: all checks passed"
