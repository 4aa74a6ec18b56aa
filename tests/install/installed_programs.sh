# Helpers of the tests that use an installed Orvella as a desktop does
# (install_test.sh, package_test.sh), sourced by them. They run under
# xvfb-run; `work` is the test's scratch folder.

bus=org.orvella.app.application_2fx-vnd_2eKX-Orvella
# Orvella's OK button on a fresh home without a window manager.
ok_x=$((130 + 45 + 240))
ok_y=$((130 + 58))

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

has_line() { # FILE LINE
  grep -qxF -- "$2" "$1" || fail "$1 lacks the line: $2"
}

# The pid of the program owning Orvella's bus name; empty when none.
orvella_pid() {
  dbus-send --session --print-reply --dest=org.freedesktop.DBus / \
    org.freedesktop.DBus.GetConnectionUnixProcessID "string:$bus" 2>/dev/null | awk '/uint32/ { print $2 }'
}

source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wait-until.sh"

orvella_gone() { [ -z "$(orvella_pid)" ]; }

# Checks that the program owning the bus name runs from that file.
orvella_runs_from() { # PROGRAM_FILE
  local pid
  pid=$(orvella_pid)
  [ -n "$pid" ] || fail "no Orvella owns $bus"
  [ "$(readlink "/proc/$pid/exe")" = "$1" ] ||
    fail "$bus is owned by $(readlink "/proc/$pid/exe"), not $1"
}

stop_orvella() {
  kill "$(orvella_pid)"
  wait_until 20 orvella_gone || fail "Orvella does not quit"
}

# Runs that AskOrvel with the options, clicks OK until it ends and checks
# its exit status and answer.
ask_and_press_ok() { # ASKORVEL EXPECTED OPTIONS...
  local askorvel=$1 expected=$2
  shift 2
  "$askorvel" "$@" >"$work/answer" 2>"$work/ask.err" &
  local ask=$!
  for ((click = 0; click < 40; click++)); do
    kill -0 "$ask" 2>/dev/null || break
    xdotool mousemove "$ok_x" "$ok_y" click 1 || true
    sleep 1
  done
  local status=0
  wait "$ask" || status=$?
  [ "$status" = 0 ] || fail "$askorvel $* ended with $status: $(cat "$work/ask.err")"
  [ "$(cat "$work/answer")" = "$expected" ] || fail "$askorvel $* printed '$(cat "$work/answer")', not '$expected'"
}

# Writes the configuration of a private session bus whose only services
# are those in the folder.
write_bus_config() { # FILE SERVICE_DIR
  cat >"$1" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <auth>EXTERNAL</auth>
  <servicedir>$2</servicedir>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
CONF
}

# A fresh home folder in the scratch folder; the installed programs, not
# the build's, on X11.
use_fresh_home() {
  export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config" XDG_DATA_HOME="$work/home/.local/share"
  mkdir -p "$HOME"
  export QT_QPA_PLATFORM=xcb
  export PATH=/usr/bin:/bin
}
