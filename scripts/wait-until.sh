# wait_until SECONDS COMMAND...: runs the command every tenth of a second
# until it succeeds, for at most SECONDS; fails when it never does. Sourced
# by the scripts and tests that wait for a state of the programs they run.
wait_until() {
  local tenths=$(($1 * 10))
  shift
  for ((i = 0; i < tenths; i++)); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
