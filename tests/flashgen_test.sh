#!/bin/sh
# flashgen on catalogue folders a build machine can hold: every unreadable
# catalogue is an error naming the file and why, in bounded time; a leading
# UTF-8 byte-order mark is accepted and changes nothing.
# Usage: flashgen_test.sh FLASHGEN PO_DIR
set -u
flashgen=$1 po=$2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0

# run NAME: flashgen on $dir/NAME, output in $dir/NAME.out, status in $status.
run() {
    timeout 10 "$flashgen" --po "$dir/$1" --german "$dir/$1.g.cpp" --image-cpp "$dir/$1.i.cpp" \
        --image-bin "$dir/$1.bin" >"$dir/$1.out" 2>&1
    status=$?
}
# refused NAME TEXT: status 1 and an error that contains TEXT.
refused() {
    run "$1"
    if [ $status -ne 1 ] || ! grep -qF -- "$2" "$dir/$1.out"; then
        echo "$1: expected status 1 and \"$2\", got status $status:"
        cat "$dir/$1.out"
        fail=1
    fi
}
folder() {
    mkdir "$dir/$1"
    cp "$po/de.po" "$dir/$1/de.po"
}

folder plain
run plain
[ $status -eq 0 ] || { echo "plain: status $status"; cat "$dir/plain.out"; fail=1; }

folder loop
ln -s gb.po "$dir/loop/gb.po"
refused loop "loop/gb.po:0: cannot read the catalogue: a loop of symbolic links"

folder dangling
ln -s nowhere.txt "$dir/dangling/gb.po"
refused dangling "dangling/gb.po:0: cannot read the catalogue: a symbolic link to nothing (nowhere.txt)"

folder fifo
mkfifo "$dir/fifo/gb.po"
refused fifo "fifo/gb.po:0: cannot read the catalogue: a FIFO, not a file"

folder directory
mkdir "$dir/directory/gb.po"
refused directory "directory/gb.po:0: cannot read the catalogue: a directory, not a file"

folder german_dangling
rm "$dir/german_dangling/de.po"
ln -s nowhere.txt "$dir/german_dangling/de.po"
refused german_dangling "german_dangling/de.po:0: cannot read the catalogue: a symbolic link to nothing"

folder upper
cp "$po/gb.po" "$dir/upper/gb.PO"
refused upper "upper/gb.PO:0: catalogue names are lower case (gb.po)"

ln -s selfloop "$dir/selfloop"
refused selfloop "selfloop:0: cannot read the folder"

# A byte-order mark, as some editors write it, before German and a translation.
folder mark
printf '\357\273\277' | cat - "$po/de.po" >"$dir/mark/de.po"
printf '\357\273\277' | cat - "$po/gb.po" >"$dir/mark/gb.po"
cp "$po/gb.po" "$dir/plain/gb.po"
run plain
run mark
if [ $status -ne 0 ] || ! cmp -s "$dir/plain.bin" "$dir/mark.bin" || ! cmp -s "$dir/plain.g.cpp" "$dir/mark.g.cpp"; then
    echo "mark: status $status, or a different image or German table:"
    cat "$dir/mark.out"
    fail=1
fi

[ $fail -eq 0 ] && echo "flashgen: hostile folders refused, the byte-order mark accepted"
exit $fail
