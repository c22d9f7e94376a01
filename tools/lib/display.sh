# Display helpers for the test tiers that show the Windows build's message
# boxes: a private X server, real key presses, screenshots and a check that a
# screenshot shows real glyphs. Source this file after tools/lib/wine.sh and
# wine_registry.sh; it defines functions only and changes nothing until one is
# called.
#
#   display_start            start Xvfb on a free display and export DISPLAY
#   display_stop             stop that Xvfb
#   display_cjk_fonts        map the fonts that Windows dialogs ask for to a
#                            Chinese font in the current prefix
#   display_wait_window CAPTION
#                            print the X window id of the window with that
#                            caption once it is mapped (fails after 15 s)
#   display_press WINDOW KEY press KEY on the keyboard with WINDOW focused
#   display_screenshot FILE  save the whole screen as a PNG
#   display_glyph_check PNG LEFT TOP WIDTH HEIGHT
#                            print ink statistics of that region and succeed
#                            only when it holds varied glyphs, none of them
#                            the empty box drawn for a missing character

display_start() {
  local fd_file
  fd_file=$(mktemp)
  Xvfb -displayfd 7 -screen 0 1024x768x24 -nolisten tcp 7>"$fd_file" 2>/dev/null &
  DISPLAY_XVFB_PID=$!
  # Its first start on a new machine, or on a busy one, can take seconds.
  for _ in $(seq 300); do
    [ -s "$fd_file" ] && break
    kill -0 "$DISPLAY_XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  [ -s "$fd_file" ] || { echo "Xvfb did not start" >&2; rm -f "$fd_file"; return 1; }
  DISPLAY=:$(head -n1 "$fd_file")
  export DISPLAY DISPLAY_XVFB_PID
  rm -f "$fd_file"
}

display_stop() {
  [ -n "${DISPLAY_XVFB_PID:-}" ] || return 0
  kill "$DISPLAY_XVFB_PID" 2>/dev/null || true
  wait "$DISPLAY_XVFB_PID" 2>/dev/null || true
  unset DISPLAY_XVFB_PID
}

# Wine draws a character that no font of the requested face holds as an empty
# box; Windows dialogs ask for these faces, so they are all sent to the
# Chinese font that the tests install.
display_cjk_fonts() {
  local reg
  reg=$(mktemp --suffix=.reg)
  {
    echo 'REGEDIT4'
    echo
    echo '[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]'
    local face
    for face in "SimSun" "NSimSun" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma" "Microsoft Sans Serif" \
                "MS Sans Serif" "Segoe UI" "Arial" "Times New Roman"; do
      printf '"%s"="WenQuanYi Micro Hei"\n' "$face"
    done
  } >"$reg"
  wine_reg_import "$reg"
  local status=$?
  rm -f "$reg"
  return $status
}

display_wait_window() {
  local caption=$1 window
  for _ in $(seq 150); do
    window=$(xdotool search --onlyvisible --name "^${caption}\$" 2>/dev/null | head -n1)
    [ -n "$window" ] && { echo "$window"; return 0; }
    sleep 0.1
  done
  echo "no window \"$caption\" appeared" >&2
  return 1
}

# XTEST key events, as a person's keyboard makes them (Wine ignores the
# synthetic events that xdotool sends to a window directly).
display_press() {
  local window=$1 key=$2
  xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
  xdotool key --clearmodifiers "$key"
}

display_screenshot() { import -window root "$1"; }

# Looks at the region's ink (pixels clearly darker than the background): cuts
# it into glyphs at blank columns, counts the hollow rectangles among them (the
# box drawn for a missing character) and the distinct pixel columns. A line of
# real Chinese text has dozens of distinct columns and no such box; a line of
# boxes has a handful, and an empty region none.
display_glyph_check() {
  local png=$1 left=$2 top=$3 width=$4 height=$5
  convert "$png" -crop "${width}x${height}+${left}+${top}" +repage -colorspace gray -threshold 90% \
    -compress none pbm:- |
    awk '
      NR == 1 { next }
      NR == 2 { w = $1; h = $2; next }
      { for (i = 1; i <= NF; i++) { ink[n % w, int(n / w)] = $i; n++ } }
      function glyph(a, b,    x, y, top, bottom, border, inner, gw, gh) {
        top = -1
        for (y = 0; y < h; y++)
          for (x = a; x <= b; x++)
            if (ink[x, y] == 1) { if (top < 0) top = y; bottom = y }
        glyphs++
        gw = b - a + 1; gh = bottom - top + 1
        if (gw < 4 || gh < 6) return
        border = 0; inner = 0
        for (y = top; y <= bottom; y++)
          for (x = a; x <= b; x++)
            if (ink[x, y] == 1) {
              if (y == top || y == bottom || x == a || x == b) border++; else inner++
            }
        if (border == 2 * gw + 2 * gh - 4 && inner == 0) boxes++
      }
      END {
        start = -1
        for (x = 0; x <= w; x++) {
          column = 0; pattern = ""
          if (x < w) for (y = 0; y < h; y++) { pattern = pattern ink[x, y]; if (ink[x, y] == 1) column = 1 }
          if (column && !(pattern in seen)) { seen[pattern] = 1; distinct++ }
          if (column && start < 0) start = x
          if (!column && start >= 0) { glyph(start, x - 1); start = -1 }
        }
        printf "glyphs=%d distinct_columns=%d boxes=%d\n", glyphs, distinct, boxes
        exit !(distinct >= 24 && boxes == 0)
      }'
}
