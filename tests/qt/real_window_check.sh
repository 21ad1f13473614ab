#!/usr/bin/env bash
# Runs the quiz program on a virtual X display (Xvfb, no window manager) and checks its real
# window: mapped with the right size at the centred place, an empty title, fixed size, the icon in
# three sizes. Answers one question through the keyboard, keeping screenshots in OUTPUT_FOLDER,
# then closes the window by Esc and, in a second run, as the close box does; both runs must end
# with exit code 0.
#
# usage: real_window_check.sh QUIZ_PROGRAM X11_INPUT OUTPUT_FOLDER
set -euo pipefail

quiz=$1
x11_input=$2
output=$3
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

run=$(mktemp -d)
pid=
server=
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  [ -n "$server" ] && kill "$server" 2>/dev/null
  rm -rf "$run"
}
trap cleanup EXIT

# A display of our own: the server picks a free number itself and writes it once it is ready,
# so tests that run at the same time never share or race for one.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$run/display" 2>"$run/xvfb.log" &
server=$!
for _ in $(seq 100); do
  [ -s "$run/display" ] && break
  sleep 0.1
done
[ -s "$run/display" ] || fail "Xvfb did not start: $(cat "$run/xvfb.log")"
export DISPLAY=":$(head -n1 "$run/display")"

# The program runs from its own folder, with one question beside it.
cp "$quiz" "$run/quiz"
mkdir "$run/文本"
printf '%s\r\n' '下列哪一项是中华人民共和国的首都？请从四个选项中选出正确的一项 & 说明理由' \
  '北京' '上海 & 广州：这是一个很长的选项，长到按钮里放不下，要换好几行才显示得完，最后一部分会被切掉' \
  '南京' 'Chongqing' '北京' >"$run/文本/q.txt"

# The id of the quiz's one viewable top-level window, once it is mapped.
wait_for_window() {
  local id
  for _ in $(seq 100); do
    for id in $(xwininfo -root -children | grep -o '^ *0x[0-9a-f]*'); do
      if xwininfo -id "$id" | grep -q 'Map State: IsViewable'; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# A value that xwininfo tells about a window ("root" for the whole screen).
value_of() {
  if [ "$1" = root ]; then
    xwininfo -root | sed -n "s/^ *$2: *//p"
  else
    xwininfo -id "$1" | sed -n "s/^ *$2: *//p"
  fi
}

# Waits up to 10 s for the program to end; sets exit_code.
wait_for_exit() {
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  kill -0 "$pid" 2>/dev/null && fail "the program did not end $1"
  exit_code=0
  wait "$pid" || exit_code=$?
  pid=
}

start_quiz() {
  (cd /tmp && exec "$run/quiz" 2>"$run/stderr") &
  pid=$!
  window=$(wait_for_window) || fail "no window appeared: $(cat "$run/stderr")"
}

# --- first run: look at the window, answer one question, press Esc.
start_quiz
screen_width=$(value_of root Width)
screen_height=$(value_of root Height)
[ "$(value_of "$window" Width)" = 778 ] || fail "width $(value_of "$window" Width)"
[ "$(value_of "$window" Height)" = 401 ] || fail "height $(value_of "$window" Height)"
left=$(((screen_width - 778) / 2))
top=$(((screen_height - 401) / 2))
[ "$(value_of "$window" 'Absolute upper-left X')" = "$left" ] || fail "left is not $left"
[ "$(value_of "$window" 'Absolute upper-left Y')" = "$top" ] || fail "top is not $top"

properties=$(xprop -id "$window" WM_NAME _NET_WM_NAME WM_NORMAL_HINTS _NET_WM_ICON)
# xprop shows an empty title as nothing after "=".
grep -Eq '^WM_NAME\([A-Z0-9_]+\) = (""|)$' <<<"$properties" || fail "title is not empty"
grep -Eq '^_NET_WM_NAME\([A-Z0-9_]+\) = (""|)$' <<<"$properties" || fail "title is not empty"
grep -q 'minimum size: 778 by 401' <<<"$properties" || fail "no fixed minimum size"
grep -q 'maximum size: 778 by 401' <<<"$properties" || fail "no fixed maximum size"
for side in 16 32 48; do
  grep -q "Icon ($side x $side)" <<<"$properties" || fail "no $side pixel icon"
done

sleep 0.5
import -window root "$output/quiz_window_start.png"
"$x11_input" key space  # the focus starts on 按钮_开始
sleep 0.5
import -window root "$output/quiz_window_question.png"
for _ in 1 2 3; do "$x11_input" key tab; done  # 编辑框1, 编辑框20, 按钮1
"$x11_input" key space
sleep 0.5
import -window root "$output/quiz_window_verdict.png"
"$x11_input" key space  # dismisses the verdict box
sleep 0.3
import -window root "$output/quiz_window_answered.png"
"$x11_input" key escape
wait_for_exit "after Esc"
[ "$exit_code" = 0 ] || fail "exit code $exit_code after Esc: $(cat "$run/stderr")"

# --- second run: closed as by the close box.
start_quiz
"$x11_input" close "$window"
wait_for_exit "after closing"
[ "$exit_code" = 0 ] || fail "exit code $exit_code after closing: $(cat "$run/stderr")"
echo "real window check passed; screenshots in $output"
