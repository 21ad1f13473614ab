#!/usr/bin/env bash
# Runs the quiz program on a virtual X display (Xvfb) and checks its real window: mapped with
# the outer size 778 x 401 at the centred place, a blank title, fixed size, the icon in three
# sizes. Answers one question through the keyboard, keeping screenshots in OUTPUT_FOLDER, then
# closes the window by Esc and, in a second run, as the close box does; both runs must end with
# exit code 0. With WINDOW_MANAGER (openbox), the window is framed, and the outer size and place
# are those of the frame.
#
# usage: real_window_check.sh QUIZ_PROGRAM X11_INPUT OUTPUT_FOLDER [WINDOW_MANAGER]
set -euo pipefail

quiz=$1
x11_input=$2
output=$3
window_manager=${4:-}
shots=quiz_window${window_manager:+_$window_manager}
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

run=$(mktemp -d)
pid=
server=
manager=
cleanup() {
  set +e
  for process in $pid $manager $server; do kill "$process" 2>/dev/null; done
  rm -rf "$run"
}
trap cleanup EXIT

# A display of our own, at a number that no desktop uses, picked at random so that tests running
# at the same time do not share one. A number is taken when its lock file exists or something
# answers there already (servers of other containers share the abstract socket names but not
# /tmp); a server that cannot have its number ends at once, and another number is tried.
for _ in $(seq 10); do
  display=":$((200 + RANDOM % 700))"
  [ -e "/tmp/.X${display#:}-lock" ] && continue
  xwininfo -display "$display" -root >/dev/null 2>&1 && continue
  Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >"$run/xvfb.log" 2>&1 &
  server=$!
  for _ in $(seq 50); do
    kill -0 "$server" 2>/dev/null || break
    xwininfo -display "$display" -root >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 0.2
  kill -0 "$server" 2>/dev/null && xwininfo -display "$display" -root >/dev/null 2>&1 && break
  kill "$server" 2>/dev/null || true
  server=
done
[ -n "$server" ] || fail "Xvfb did not start: $(cat "$run/xvfb.log")"
export DISPLAY=$display
root=$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')

if [ -n "$window_manager" ]; then
  "$window_manager" >"$run/manager.log" 2>&1 &
  manager=$!
  for _ in $(seq 100); do
    xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
  done
  xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id' ||
    fail "$window_manager did not start: $(cat "$run/manager.log")"
fi

# The program runs from its own folder, with one question beside it.
cp "$quiz" "$run/quiz"
mkdir "$run/文本"
printf '%s\r\n' '下列哪一项是中华人民共和国的首都？请从四个选项中选出正确的一项 & 说明理由' \
  '北京' '上海 & 广州：这是一个很长的选项，长到按钮里放不下，要换好几行才显示得完，最后一部分会被切掉' \
  '南京' 'Chongqing' '北京' >"$run/文本/q.txt"

# The quiz's top-level windows: what the window manager lists, or else the children of root.
top_level_windows() {
  if [ -n "$window_manager" ]; then
    xprop -root _NET_CLIENT_LIST | grep -o '0x[0-9a-f]*' || true
  else
    xwininfo -root -children | grep -o '^ *0x[0-9a-f]*'
  fi
}

# The id of the quiz's one viewable top-level window, once it is mapped.
wait_for_window() {
  local id
  for _ in $(seq 100); do
    for id in $(top_level_windows); do
      if xwininfo -id "$id" | grep -q 'Map State: IsViewable'; then
        echo "$id"
        return 0
      fi
    done
    sleep 0.1
  done
  return 1
}

# The window itself, or the frame that a window manager has put around it.
outer_window_of() {
  local id=$1 parent
  while parent=$(xwininfo -children -id "$id" | sed -n 's/^ *Parent window id: \(0x[0-9a-f]*\).*/\1/p') &&
    [ "$parent" != "$root" ]; do
    id=$parent
  done
  echo "$id"
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
left=$(((screen_width - 778) / 2))
top=$(((screen_height - 401) / 2))
# A window manager reports its frame only after mapping; the quiz then fits itself to it.
for _ in $(seq 30); do
  outer=$(outer_window_of "$window")
  [ "$(value_of "$outer" Width)x$(value_of "$outer" Height)" = 778x401 ] &&
    [ "$(value_of "$outer" 'Absolute upper-left X'),$(value_of "$outer" 'Absolute upper-left Y')" = "$left,$top" ] &&
    break
  sleep 0.1
done
[ "$(value_of "$outer" Width)" = 778 ] || fail "outer width $(value_of "$outer" Width)"
[ "$(value_of "$outer" Height)" = 401 ] || fail "outer height $(value_of "$outer" Height)"
[ "$(value_of "$outer" 'Absolute upper-left X')" = "$left" ] || fail "left is not $left"
[ "$(value_of "$outer" 'Absolute upper-left Y')" = "$top" ] || fail "top is not $top"

properties=$(xprop -id "$window" WM_NAME _NET_WM_NAME WM_NORMAL_HINTS _NET_WM_ICON)
# A title bar that shows no text: the title is blank.
grep -Eq '^WM_NAME\([A-Z0-9_]+\) = " *"$' <<<"$properties" || fail "title is not blank"
grep -Eq '^_NET_WM_NAME\([A-Z0-9_]+\) = " *"$' <<<"$properties" || fail "title is not blank"
client_size="$(value_of "$window" Width) by $(value_of "$window" Height)"
grep -q "minimum size: $client_size" <<<"$properties" || fail "no fixed minimum size"
grep -q "maximum size: $client_size" <<<"$properties" || fail "no fixed maximum size"
for side in 16 32 48; do
  grep -q "Icon ($side x $side)" <<<"$properties" || fail "no $side pixel icon"
done

sleep 0.5
import -window root "$output/${shots}_start.png"
"$x11_input" key space  # the focus starts on 按钮_开始
sleep 0.5
import -window root "$output/${shots}_question.png"
for _ in 1 2 3; do "$x11_input" key tab; done  # 编辑框1, 编辑框20, 按钮1
"$x11_input" key space
sleep 0.5
import -window root "$output/${shots}_verdict.png"
"$x11_input" key space  # dismisses the verdict box
sleep 0.3
import -window root "$output/${shots}_answered.png"
"$x11_input" key escape
wait_for_exit "after Esc"
[ "$exit_code" = 0 ] || fail "exit code $exit_code after Esc: $(cat "$run/stderr")"

# --- second run: closed as by the close box.
start_quiz
"$x11_input" close "$window"
wait_for_exit "after closing"
[ "$exit_code" = 0 ] || fail "exit code $exit_code after closing: $(cat "$run/stderr")"
echo "real window check passed; screenshots in $output"
