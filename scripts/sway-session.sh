#!/usr/bin/env bash
# Runs a command inside a headless Wayland session: sway without outputs
# of its own (WLR_BACKENDS=headless), one 800 x 600 virtual screen, a
# private session bus, and a virtual keyboard that stays plugged in so that
# windows keep the keyboard focus between two wtype calls.
#
# sway refuses to run as root: run as root, the session belongs to the
# unprivileged user "orvella-sway" (created when missing), and the command
# runs as that user too. Programs and files the command needs must then be
# readable by everyone: the command gets a scratch folder of its own,
# $SESSION_DIR, and the files listed after --copy are copied into it.
#
# Inside the command WAYLAND_DISPLAY, SWAYSOCK, XDG_RUNTIME_DIR and HOME
# (a fresh folder) are set, and QT_QPA_PLATFORM=wayland.
# Usage: scripts/sway-session.sh [--copy PATH]... [--out DIR] -- COMMAND...
#   --out DIR: what the command leaves in $SESSION_DIR/out is copied to DIR.
set -euo pipefail

copies=()
out=
while [ $# -gt 0 ]; do
  case $1 in
  --copy) copies+=("$(realpath -m "$2")"); shift 2 ;;
  --out) out=$(realpath -m "$2"); shift 2 ;;
  --) shift; break ;;
  *) echo "usage: $0 [--copy PATH]... [--out DIR] -- COMMAND..." >&2; exit 2 ;;
  esac
done
[ $# -gt 0 ] || { echo "usage: $0 [--copy PATH]... [--out DIR] -- COMMAND..." >&2; exit 2; }

user=$(id -un)
if [ "$(id -u)" -eq 0 ]; then
  user=orvella-sway
  id "$user" >/dev/null 2>&1 ||
    useradd --system --no-create-home --home-dir /nonexistent --shell /usr/sbin/nologin "$user"
fi

session=$(mktemp -d /tmp/ova-sway-XXXXXX)
trap 'rm -rf "$session"' EXIT
chmod 755 "$session"
mkdir -p "$session/out" "$session/home" "$session/runtime"
for path in "${copies[@]}"; do
  cp -a "$path" "$session/"
done
cat >"$session/sway.config" <<'EOF'
output HEADLESS-1 resolution 800x600 position 0 0
xwayland disable
default_border none
default_floating_border normal
focus_on_window_activation focus
EOF
chown -R "$user" "$session"
chmod 700 "$session/runtime"

# Starts sway and the keyboard, runs the command, and ends both.
inner() {
  sway -c "$SESSION_DIR/sway.config" >"$SESSION_DIR/sway.log" 2>&1 &
  local sway=$!
  local tenths
  for ((tenths = 0; tenths < 100; tenths++)); do
    WAYLAND_DISPLAY=$(cd "$XDG_RUNTIME_DIR" && ls wayland-? 2>/dev/null | head -1)
    SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -1)
    [ -n "$WAYLAND_DISPLAY" ] && [ -n "$SWAYSOCK" ] && swaymsg -t get_version >/dev/null 2>&1 && break
    kill -0 "$sway" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$WAYLAND_DISPLAY" ] || [ -z "$SWAYSOCK" ]; then
    echo "sway did not start:" >&2
    cat "$SESSION_DIR/sway.log" >&2
    kill "$sway" 2>/dev/null || true
    return 1
  fi
  export WAYLAND_DISPLAY SWAYSOCK
  wtype -s 86400000 &
  local keyboard=$!
  local status=0
  (cd "$SESSION_DIR" && "$@") || status=$?
  kill "$keyboard" "$sway" 2>/dev/null || true
  wait "$keyboard" "$sway" 2>/dev/null || true
  return $status
}

as_user=()
if [ "$(id -u)" -eq 0 ]; then
  as_user=(setpriv --reuid="$user" --regid="$(id -g "$user")" --clear-groups --)
fi
status=0
"${as_user[@]}" env -u DISPLAY -u WAYLAND_DISPLAY -u DBUS_SESSION_BUS_ADDRESS \
  SESSION_DIR="$session" XDG_RUNTIME_DIR="$session/runtime" HOME="$session/home" \
  XDG_CONFIG_HOME="$session/home/.config" XDG_DATA_HOME="$session/home/.local/share" \
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman QT_QPA_PLATFORM=wayland \
  dbus-run-session -- bash -c "$(declare -f inner); inner \"\$@\"" inner "$@" || status=$?
if [ -n "$out" ]; then
  mkdir -p "$out"
  cp -r "$session/out/." "$out/"
fi
exit $status
