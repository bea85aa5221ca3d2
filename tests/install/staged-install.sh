#!/usr/bin/env bash
# Installs the build into a staging folder as the package does (prefix /usr)
# and runs the installed game as an ordinary user, from a folder of their
# own: its command line, then a hot-seat game saved in the player's folder
# (InstalledGameTest). Nothing may be written into the installed tree.
# Usage: staged-install.sh BUILD_DIR INSTALLED_GAME_TEST APP_ID VERSION
set -euo pipefail
build=$1 window_test=$2 id=$3 version=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
chmod 755 "$work"
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr >/dev/null

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

share=$stage/usr/share
for file in bin/yuunagi bin/yuunagi-data bin/yuunagi-sim share/applications/$id.desktop \
  share/metainfo/$id.metainfo.xml share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128,256x256}/apps/$id.png \
  share/man/man6/yuunagi.6.gz share/man/man1/yuunagi-data.1.gz share/man/man1/yuunagi-sim.1.gz \
  share/doc/yuunagi/copyright share/doc/yuunagi/changelog.gz; do
  [[ -f $stage/usr/$file ]] || fail "not installed: $file"
done
for folder in Picture Scenario Music; do
  [[ -n $(ls -A "$share/yuunagi/$folder") ]] || fail "nothing installed in share/yuunagi/$folder"
done

# The player: nobody when the test runs as root, with a home of their own.
home=$work/home
mkdir -p "$home" "$work/elsewhere"
player=()
if [[ $(id -u) -eq 0 ]]; then
  chown nobody "$home" "$work/elsewhere"
  player=(setpriv --reuid=nobody --regid=nogroup --clear-groups)
fi
# The installed game with `args`, as the player, stopped after 5 s if it is
# still running then (status 124).
as_player() {
  (cd "$work/elsewhere" && env -i HOME="$home" XDG_DATA_HOME="$home/data" PATH=/usr/bin:/bin "$@" timeout 5 \
    "${player[@]}" "$stage/usr/bin/yuunagi" "${args[@]}")
}
snapshot() { (cd "$stage" && find . -printf '%p %y %s %m %T@\n' | LC_ALL=C sort); }
before=$(snapshot)

# status | environment | arguments | a line the output holds
while IFS='|' read -r status environment arguments expected; do
  read -r -a args <<<"$arguments"
  read -r -a env_vars <<<"$environment"
  set +e
  output=$(as_player "${env_vars[@]}" 2>&1)
  got=$?
  set -e
  [[ $got == "$status" ]] || fail "yuunagi $arguments: status $got, not $status: $output"
  grep -qE -- "$expected" <<<"$output" || fail "yuunagi $arguments: no '$expected' in: $output"
done <<EOF_CASES
0||--version|^yuunagi $version\$
0||--help|--data-dir <DIR>
2||--bogus|^yuunagi: Unknown option 'bogus'
2|QT_QPA_PLATFORM=offscreen|Save|^yuunagi: unexpected argument 'Save'
1|||^yuunagi: no display
1|QT_QPA_PLATFORM=offscreen|--data-dir $work/none|^yuunagi: --data-dir: there is no folder
124|QT_QPA_PLATFORM=offscreen|--soundfont $work/none.sf2|^music: no SoundFont at $work/none.sf2
EOF_CASES

args=()
(cd "$work/elsewhere" && env -i HOME="$home" XDG_DATA_HOME="$home/data" PATH=/usr/bin:/bin \
  QT_QPA_PLATFORM=offscreen YUUNAGI_INSTALLED_BIN="$stage/usr/bin" "${player[@]}" "$window_test") ||
  fail "the installed game did not play as it should"

[[ $(snapshot) == "$before" ]] || fail "something was written into the installed tree"
[[ -z $(ls -A "$work/elsewhere") ]] || fail "something was written into the current folder"
[[ -f $home/data/yuunagi/Save/Save1.sav ]] || fail "no save in the player's folder"
echo "installed game: OK"
