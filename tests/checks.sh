# Sourced by the test command and by the layers' own scripts (run-example,
# run-release, run-e2e): counted checks, steps whose output goes to a log whose
# end is shown when they fail (so that a failing layer says why). It sources
# scripts/wine-env, for the table of Windows builds.
CHECKS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$CHECKS_ROOT/scripts/wine-env"
LOG_TAIL_LINES=40
passed=0
failed=0

# log_tail LOG: the last lines of LOG, set off from the script's own output.
log_tail() {
  echo "the last $LOG_TAIL_LINES lines of $1:"
  tail -n "$LOG_TAIL_LINES" "$1" | sed 's/^/  | /'
}

# step NAME LOG COMMAND...: runs COMMAND with its output in LOG. When it fails,
# it says so and shows the end of LOG; it returns COMMAND's status.
step() {
  local name=$1 log=$2 status
  shift 2
  mkdir -p "$(dirname "$log")"
  "$@" >"$log" 2>&1
  status=$?
  if [ "$status" -ne 0 ]; then
    echo "FAILED: $name (exit $status)"
    log_tail "$log"
  fi
  return "$status"
}

# counted STATUS [MESSAGE]: counts one check by its status, saying MESSAGE when
# it failed; returns STATUS, so that a caller can add what shows why.
counted() {
  if [ "$1" -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    [ -z "${2:-}" ] || echo "$2"
  fi
  return "$1"
}

# check NAME COMMAND...: one counted check.
check() {
  local name=$1
  shift
  "$@"
  counted $? "FAILED: $name"
}

# check_step NAME LOG COMMAND...: one counted check run as a step.
check_step() {
  step "$@"
  counted $?
}

# checks_summary: the closing "N passed, M failed"; fails if any check did.
checks_summary() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
}

# not_run WHAT: says that this machine built and linked WHAT but cannot run it.
not_run() { echo "built and linked, not run here: $*"; }

# configure_and_build PRESET, and build_preset PRESET: the latter as a step,
# its log in build/PRESET/build.log.
configure_and_build() {
  (cd "$CHECKS_ROOT" && cmake --preset "$1" && cmake --build --preset "$1" -j "$(nproc)")
}
build_preset() { step "the $1 build" "$CHECKS_ROOT/build/$1/build.log" configure_and_build "$1"; }
