# reg_diff BEFORE AFTER: what changed between two registry exports (.reg text),
# in .reg syntax: removed keys as [-KEY], removed values as "name"=-, changed
# and added values with their new data; the old data follows as a comment.
# Prints nothing when the two are the same.

reg_diff() {
  awk '
    function flush_line() {
      if (pending == "") return
      if (pending ~ /^\[.*\]$/) {
        key = substr(pending, 2, length(pending) - 2)
        keys[file, key] = 1
        if (!(key in order)) { order[key] = ++count; names[count] = key }
      } else if (match(pending, /^(@|"([^"\\]|\\.)*")=/)) {
        name = substr(pending, 1, RLENGTH - 1)
        data[file, key, name] = substr(pending, RLENGTH + 1)
        valuenames[key, name] = 1
        if (!((key, name) in vorder)) { vorder[key, name] = ++vcount[key]; vlist[key, vcount[key]] = name }
      }
      pending = ""
    }
    FNR == 1 { flush_line(); file = (NR == FNR) ? "before" : "after"; key = "" }
    /^[[:space:]]*$/ { flush_line(); next }
    {
      line = $0
      if (pending != "") { sub(/^[[:space:]]+/, "", line); pending = pending line } else pending = line
      if (pending ~ /\\$/ && pending !~ /^\[/) { pending = substr(pending, 1, length(pending) - 1); next }
      flush_line()
    }
    END {
      flush_line()
      for (i = 1; i <= count; i++) {
        key = names[i]
        if ((("before", key) in keys) && !(("after", key) in keys)) {
          print "[-" key "]"
          for (j = 1; j <= vcount[key]; j++) {
            name = vlist[key, j]
            if (("before", key, name) in data) print "; was " name "=" data["before", key, name]
          }
          print ""
          continue
        }
        out = ""
        for (j = 1; j <= vcount[key]; j++) {
          name = vlist[key, j]
          had = (("before", key, name) in data); has = (("after", key, name) in data)
          if (had && !has) out = out name "=-  ; was " data["before", key, name] "\n"
          else if (!had && has) out = out name "=" data["after", key, name] "  ; added\n"
          else if (had && has && data["before", key, name] != data["after", key, name])
            out = out name "=" data["after", key, name] "  ; was " data["before", key, name] "\n"
        }
        if (!(("before", key) in keys)) print "[" key "]  ; added key\n" out
        else if (out != "") print "[" key "]\n" out
      }
    }' "$1" "$2"
}

# reg_changes_of_diff: reg_diff's output on standard input, one change a line,
# sorted: "-KEY" for a deleted key, "KEY|NAME|DATA" for a value changed or
# added in a key that stays ("-" as the data of a deleted value).
reg_changes_of_diff() {
  awk '
    /^\[-/ { print "-" substr($0, 3, index($0, "]") - 3); key = ""; next }
    /^\[/ { key = substr($0, 2, index($0, "]") - 2); next }
    key != "" && match($0, /^(@|"([^"\\]|\\.)*")=/) {
      data = substr($0, RLENGTH + 1); sub(/  ; .*$/, "", data)
      print key "|" substr($0, 1, RLENGTH - 1) "|" data
    }' | LC_ALL=C sort
}

# reg_changes_of_log: the .reg lines of a change log on standard input, in the
# form of reg_changes_of_diff: per value its data after the last change, when
# that differs from its data before the first; the values of deleted keys are
# in the key's line.
reg_changes_of_log() {
  tr -d '\r' | awk '
    /^\[-/ { key = substr($0, 3, length($0) - 3); deleted[key] = 1; print "-" key; current = ""; next }
    /^\[/ { current = substr($0, 2, length($0) - 2); next }
    current != "" && match($0, /^(@|"([^"\\]|\\.)*")=/) {
      id = current "|" substr($0, 1, RLENGTH - 1)
      rest = substr($0, RLENGTH + 1); data = rest; note = ""
      if (index(rest, "  ; ")) { data = substr(rest, 1, index(rest, "  ; ") - 1); note = substr(rest, index(rest, "  ; ") + 4) }
      if (!(id in first)) {
        order[++count] = id; keyof[id] = current
        first[id] = note ~ /^was / ? substr(note, 5) : (note == "added" ? "(none)" : (note == "unchanged" ? data : "(unknown)"))
      }
      last[id] = data
      next
    }
    { current = "" }
    END { for (i = 1; i <= count; i++) { id = order[i]; if (!(keyof[id] in deleted) && first[id] != last[id]) print id "|" last[id] } }
  ' | LC_ALL=C sort
}
