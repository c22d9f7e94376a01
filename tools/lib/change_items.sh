# What a removal changed, one item a line and sorted, as a change log or a
# preview's report says it and as the machine shows it, so that the two can be
# compared. Source this file after tools/lib/reg_diff.sh and twuninst.sh.
#
#   log_change_items LOG      the items a log or a preview's report lists
#   machine_change_items DIR  the items the machine shows: DIR holds the
#                             before.reg, after.reg, files-before,
#                             files-after, links-before and links-after of
#                             tw_registry_snapshot, tw_list_files and
#                             tw_describe_shortcuts; the engine calls and the
#                             uninstaller's start from their records; files
#                             added, which no log lists, as "added"
#   without_bookkeeping       drops from reg_changes_of_* lines those of the
#                             uninstall ledger, the program's own records,
#                             which the log does not list
#   listed_change_count LOG   the change lines of a log (values set or
#                             deleted but those said unchanged, keys, files
#                             and folders deleted, attributes set, shortcuts
#                             re-pointed, the engine call, the start)
#   summary_change_count LOG  the changes its summary line counts

TW_LEDGER_KEY='HKEY_LOCAL_MACHINE\SOFTWARE\Corvane\Talkwise\Uninstall'

without_bookkeeping() {
  local key=${TW_LEDGER_KEY//\\/\\\\}
  grep -Ev "^-?${key}(\\\\|\\||\$)" || true
}

log_change_items() {
  reg_changes_of_log <"$1" | without_bookkeeping | sed 's/^/registry /'
  tr -d '\r' <"$1" | sed -n -e 's/^\(file\|folder\) deleted: /deleted /p' -e 's/^shortcut re-pointed: /shortcut /p' \
    -e 's/^engine library: \(would call \)\{0,1\}UninstallSpeechUser(language \(.*\), user \([^)]*\)).*/engine language=\2 user=\3/p' \
    -e 's/^uninstaller \(would be \)\{0,1\}started: /uninstaller /p'
}

machine_change_items() {
  local dir=$1
  reg_diff "$dir/before.reg" "$dir/after.reg" | reg_changes_of_diff | without_bookkeeping | sed 's/^/registry /'
  comm -23 "$dir/files-before" "$dir/files-after" | sed 's|^|deleted C:\\|; s|/|\\|g'
  comm -13 "$dir/files-before" "$dir/files-after" | sed 's|^|added C:\\|; s|/|\\|g'
  join -t $'\t' "$dir/links-before" "$dir/links-after" | awk -F'\t' '$2 != $3 { gsub(/\//, "\\", $1); print "shortcut C:\\" $1 }'
  tw_engine_calls | sed -n 's/^.* \(language=.*\)$/engine \1/p'
  tw_uninstaller_calls | sed 's/^show=[0-9]* /uninstaller /'
}

listed_change_count() {
  tr -d '\r' <"$1" | grep -E '^(["@].*|\[-.*|(file|folder) deleted: .*|read-only attribute cleared: .*|attributes set to .*|shortcut re-pointed: .*|engine library: .*|uninstaller (would be )?started: .*)$' |
    grep -vc '  ; unchanged$'
}
summary_change_count() { tr -d '\r' <"$1" | sed -n 's/^summary: .*, \([0-9]*\) changes, [0-9]* failures$/\1/p'; }
