#!/usr/bin/env bash
# Fails when a C++ file of the repository is not in the project's style
# (.clang-format). `clang-format -i FILE` puts a file right.
set -euo pipefail
cd "$(dirname "$0")/.."
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run -Werror
