# Sourced by the test command and by the layers' own scripts (run-example,
# run-release, run-e2e, the benchmarks): a layer's counted checks
# (checks_passed, checks_failed), steps whose output goes to a log whose end is
# shown when they fail (so that a failing layer says why), and the checks of
# what a Windows program's headers say. It sources scripts/private-wine.sh.
CHECKS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$CHECKS_ROOT/scripts/private-wine.sh"
LOG_TAIL_LINES=40
checks_passed=0
checks_failed=0

# log_tail LOG: the last lines of LOG, set off from the script's own output.
log_tail() {
  echo "the end of $1:"
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
    checks_passed=$((checks_passed + 1))
  else
    checks_failed=$((checks_failed + 1))
    [ -z "${2:-}" ] || echo "$2"
  fi
  return "$1"
}

# check NAME COMMAND...: one counted check. What COMMAND prints is shown after
# the FAILED line when it fails, and not at all when it passes.
check() {
  local name=$1 out status
  shift
  out=$("$@" 2>&1)
  status=$?
  if ! counted "$status" "FAILED: $name" && [ -n "$out" ]; then
    echo "$out"
  fi
  return "$status"
}

# check_step NAME LOG COMMAND...: one counted check run as a step.
check_step() {
  step "$@"
  counted $?
}

# checks_summary: the closing "N passed, M failed"; fails if any check did.
checks_summary() {
  echo "$checks_passed passed, $checks_failed failed"
  [ "$checks_failed" -eq 0 ]
}

# not_run WHAT: says that this machine built and linked WHAT but cannot run it.
not_run() { echo "built and linked, not run here: $*"; }

# configure_and_build PRESET, and build_preset PRESET: the latter as a step,
# its log in build/PRESET/build.log.
configure_and_build() {
  (cd "$CHECKS_ROOT" && cmake --preset "$1" && cmake --build --preset "$1" -j "$(nproc)")
}
build_preset() { step "the $1 build" "$CHECKS_ROOT/build/$1/build.log" configure_and_build "$1"; }

# imports_check EXE LIST: EXE imports nothing that LIST (DLL!function, one a
# line, # for comments) does not list; each import it does not is named. On its
# own, for a quick look at a build:
#   bash -c '. tests/checks.sh; imports_check build/win32/Lullscreen.exe tests/release/imports-Lullscreen.txt'
imports_check() {
  local imports
  imports=$(pe_imports "$1") && [ -n "$imports" ] || { echo "could not read the imports of $1"; return 1; }
  awk -v exe="$(basename "$1")" -v list="$2" '
    FILENAME == list { if (NF && $1 !~ /^#/) { i = index($1, "!"); listed[toupper(substr($1, 1, i - 1)) substr($1, i)] = 1 }; next }
    !($0 in listed) { print "  " exe " imports " $0 ", not listed"; bad = 1 }
    END { exit bad }
  ' "$2" - <<<"$imports"
}

# subsystem_check EXE VERSION: the Windows version EXE's PE header asks for (its
# subsystem version) is at most VERSION (major.minor), e.g. 5.0 for Windows 2000.
subsystem_check() {
  local asked
  asked=$(pe_subsystem_version "$1") || return 1
  [ "${asked%.*}" -lt "${2%.*}" ] || { [ "${asked%.*}" -eq "${2%.*}" ] && [ "${asked#*.}" -le "${2#*.}" ]; } ||
    { echo "$1 asks for Windows $asked (subsystem version), later than $2"; return 1; }
}
