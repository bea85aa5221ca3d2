#!/usr/bin/env bash
# Takes the README's screenshots of the real game window (title, scenario
# list, faction selection, a game under way) into docs/screenshots/, and
# the same at double scale into docs/screenshots/2x/ for the AppStream data.
# Runs on the offscreen platform: no display is needed.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$BUILD_DIR" -j 2 --target yuunagi-screenshots
QT_QPA_PLATFORM=offscreen "$BUILD_DIR/bin/yuunagi-screenshots" docs/screenshots
QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=2 "$BUILD_DIR/bin/yuunagi-screenshots" docs/screenshots/2x
