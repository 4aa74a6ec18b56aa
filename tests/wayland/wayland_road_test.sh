#!/usr/bin/env bash
# Orvella as a native Wayland client, driven as a user would in a headless
# sway session (scripts/sway-session.sh runs this in its scratch folder,
# with the build's bin folder and the Python requester copied there): the
# window comes up, Expand View and Triple-Preview give their sizes, and
# requests bring it up through xdg-activation while the user types in
# AskOrvel's window: AskOrvel's request carries a token from the compositor,
# which hands Orvella the focus (keys then answer the request: Up five
# times from the 15th, and Return), or the one AskOrvel was started with; a request without a token makes Orvella ask
# for attention (the compositor marks it urgent) and the focus stays. The
# stored window position, which Wayland does not let a client know, is
# kept for the next start instead of being overwritten.
set -euo pipefail
BIN=$PWD/bin
source ./wayland-steps.sh

fail() {
  echo "FAIL: $*" >&2
  echo "Orvella: $(window_state Orvella); AskOrvel: $(window_state AskOrvel)" >&2
  tail -20 orvella.log >&2
  [ -f askorvel.log ] && tail -20 askorvel.log >&2
  exit 1
}

stored_frame() {
  python3 -c 'import os, struct, sys
print("%g %g %g %g" % struct.unpack("<4f", os.getxattr(sys.argv[1], "user.m_win_rect")))' \
    "$XDG_CONFIG_HOME/_LP_x-vnd.KX/OVA_settings"
}

start_orvella || fail "no native window"
window_is Orvella 321x77 focused || fail "the new window has no focus: $(window_state Orvella)"
menu_key e 321x241 || fail "Expand View"
menu_key v 521x241 || fail "Triple-Preview"
menu_key e 321x77 || fail "Expand View off"

# AskOrvel's window takes the focus, as a new window does.
"$BIN/AskOrvel" >askorvel.log 2>&1 &
askorvel=$!
wait_until 20 window_is AskOrvel focused xdg_shell || fail "AskOrvel's window did not come"
window_is Orvella unfocused || fail "Orvella kept the focus"

# A script's request: AskOrvel passes a token it asks the compositor for.
requests=0
ask() { # [VARIABLE=VALUE]...
  env "$@" "$BIN/AskOrvel" --date --preset "2004-03-15 10:00" --timeout 60 >ask.out 2>&1 &
  ask=$!
  requests=$((requests + 1))
  wait_until 20 said_times "<- '" "$requests" || fail "request $requests did not reach Orvella"
}
said_times() { [ "$(grep -cF -- "$1" orvella.log)" -ge "$2" ]; }
ask
said '_activationToken = string("' || fail "the request carried no token"
wait_until 10 window_is Orvella focused || fail "the token did not bring Orvella the focus: $(window_state Orvella)"
for _ in 1 2 3 4 5; do wtype -k Up; done
wtype -k Return
status=0
wait "$ask" || status=$?
[ "$status" = 0 ] && [ "$(cat ask.out)" = "2004-03-20" ] || fail "the keys answered with $status: $(cat ask.out)"

# The token AskOrvel was started with goes into its request.
ask XDG_ACTIVATION_TOKEN=started-with-this
said '_activationToken = string("started-with-this"' || fail "the start token was not passed on"

# No token: Orvella asks for attention, and the user goes on typing in
# AskOrvel's window.
swaymsg -q '[title="^AskOrvel$"] focus'
wait_until 10 window_is AskOrvel focused || fail "AskOrvel's window did not get the focus back"
swaymsg -q focus_on_window_activation urgent
/usr/bin/python3 ask_date.py --timeout 60 >python.out 2>&1 &
python=$!
requests=$((requests + 1))
wait_until 20 said_times "<- '" "$requests" || fail "the Python request did not reach Orvella"
wait_until 10 window_is Orvella urgent unfocused || fail "Orvella did not ask for attention: $(window_state Orvella)"
window_is AskOrvel focused || fail "AskOrvel lost the focus"
kill "$ask" "$python" "$askorvel" 2>/dev/null || true
wait "$ask" "$python" "$askorvel" 2>/dev/null || true

stop_orvella
[ "$(stored_frame)" = "130 130 450 206" ] || fail "the stored frame became $(stored_frame)"
echo "Orvella ran natively on Wayland"
