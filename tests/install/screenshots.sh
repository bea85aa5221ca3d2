#!/bin/sh
# Every screenshot the AppStream data names is a committed picture of the
# size it states. Usage: screenshots.sh METAINFO SCREENSHOT_FOLDER
set -eu
metainfo=$1
folder=$2
count=0
for line in $(sed -n 's|.*<image type="source" width="\([0-9]*\)" height="\([0-9]*\)">.*/\([^/<]*\)</image>.*|\3:\1:\2|p' "$metainfo"); do
  name=${line%%:*}
  size=${line#*:}
  found=$(file -b "$folder/$name")
  case $found in
    "PNG image data, ${size%:*} x ${size#*:},"*) count=$((count + 1)) ;;
    *) echo "$folder/$name: $found (want a ${size%:*} x ${size#*:} PNG)" >&2; exit 1 ;;
  esac
done
if [ "$count" -ne 5 ]; then
  echo "$metainfo names $count screenshots, not the README's five" >&2
  exit 1
fi
echo "$count screenshots"
