# Case bookkeeping for the Wine test scripts: one PASS or FAIL line per case,
# then "N passed, N failed" from cases_summary. Source this file.
#
#   expect DESCRIPTION ACTUAL EXPECTED   note a failure when they differ
#   end_case NAME                        print PASS or FAIL with the failures
#   cases_summary                        print the closing line; fails when a
#                                        case failed

passed=0
failed=0
case_failures=()

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

cases_summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}
