# shellcheck shell=bash
# The bookkeeping of an end-to-end script: checks gathered per case, one
# PASS/FAIL line for each, and the counts for the closing line.

passed=0
failed=0
case_failures=()

# expect DESCRIPTION ACTUAL EXPECTED
expect() {
  [ "$2" == "$3" ] || case_failures+=("$1: got [$2], expected [$3]")
}

end_case() {
  if [ ${#case_failures[@]} -eq 0 ]; then
    echo "PASS $1"
    passed=$((passed + 1))
  else
    echo "FAIL $1"
    printf '    %s\n' "${case_failures[@]}"
    failed=$((failed + 1))
  fi
  case_failures=()
}
