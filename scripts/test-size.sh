#!/usr/bin/env bash
# Prints the size of the tests against the size of the product, in non-blank
# lines of code files: the product's folders (C++ sources, headers, CMake)
# against everything under tests/ (C++, Python, shell, CMake) plus the scripts
# only the tests use. The tests are kept at most a third of the product.
set -euo pipefail
cd "$(dirname "$0")/.."
count() { xargs -r cat | grep -cv '^[[:space:]]*$' || true; }
product_dirs=(base mediainfo core playlist playback backends ui app)
code=$(git ls-files -- "${product_dirs[@]}" | grep -E '(\.(c|cpp|h|cmake)|CMakeLists\.txt)$' | count)
tests=$( { git ls-files -- tests | grep -E '(\.(c|cpp|h|py|sh|cmake)|CMakeLists\.txt)$';
           echo scripts/run-tests.sh; } | count)
printf 'test size: %d lines of tests for %d lines of product code = %d%% (at most 33%%)\n' \
  "$tests" "$code" $((100 * tests / code))
