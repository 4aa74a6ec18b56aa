# Steps of a user driving Orvella in a headless sway session
# (scripts/sway-session.sh): the state of a window as sway sees it, keys
# through wtype, and bounded waits for a state. Sourced by the Wayland road
# test and by scripts/screenshot-wayland.sh; BIN is the folder of the
# programs, and Orvella writes its output to orvella.log.

# Prints "WIDTHxHEIGHT FOCUS URGENCY SHELL X,Y" of the window with that
# title: its content's size without decorations, "focused" or "unfocused",
# "urgent" or "calm", its kind ("xdg_shell": a native Wayland window), and
# where its content starts on the screen; nothing when there is none.
window_state() { # TITLE
  swaymsg -r -t get_tree | python3 -c '
import json, sys
def walk(node):
    if node.get("name") == sys.argv[1] and node.get("shell"):
        r, at = node["window_rect"], node["rect"]
        print("%dx%d %s %s %s %d,%d" % (r["width"], r["height"],
                                        "focused" if node["focused"] else "unfocused",
                                        "urgent" if node["urgent"] else "calm", node["shell"],
                                        at["x"] + r["x"], at["y"] + r["y"]))
        return True
    return any(walk(child) for child in node.get("nodes", []) + node.get("floating_nodes", []))
walk(json.load(sys.stdin))' "$1"
}

source "$(dirname "${BASH_SOURCE[0]}")/wait-until.sh"

# The window with that title is in that state: a size, then any words of
# its state as window_state prints them.
window_is() { # TITLE WIDTHxHEIGHT [WORD]...
  local state
  state=$(window_state "$1")
  [ -n "$state" ] || return 1
  local word
  for word in "${@:2}"; do
    [[ " $state " == *" $word "* ]] || return 1
  done
}

said() { # TEXT: Orvella wrote that line part
  grep -qF -- "$1" orvella.log
}

# Starts Orvella natively on Wayland and waits for its compact window.
start_orvella() {
  "$BIN/Orvella" >orvella.log 2>&1 &
  orvella=$!
  wait_until 20 window_is Orvella 321x77 xdg_shell || {
    echo "Orvella's window did not come: $(window_state Orvella)" >&2
    return 1
  }
}

stop_orvella() {
  kill "$orvella" 2>/dev/null || true
  wait "$orvella" 2>/dev/null || true
}

# A command key of the settings menu (Ctrl+letter), then a bounded wait
# for the window size it leads to.
menu_key() { # LETTER WIDTHxHEIGHT
  wtype -M ctrl "$1" -m ctrl
  wait_until 10 window_is Orvella "$2" || {
    echo "Ctrl+$1 did not give a $2 window: $(window_state Orvella)" >&2
    return 1
  }
}
