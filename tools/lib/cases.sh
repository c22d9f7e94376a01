# Cases of a test script that prints one PASS/FAIL line per case and a closing
# "N passed, N failed". Source this file; it defines functions and counters.
#
#   expect DESCRIPTION ACTUAL EXPECTED   note a failure of the current case
#                                        when ACTUAL differs from EXPECTED
#   end_case NAME                        print the case's line and count it

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
