# Sourced by the test command and by the layers' own scripts (run-example,
# run-release, run-e2e): counted checks, steps whose output goes to a log whose
# end is shown when they fail (so that a failing layer says why), and what the
# layers read in Windows programs. It sources scripts/wine-env, for the table of
# Windows builds.
CHECKS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$CHECKS_ROOT/scripts/wine-env"
LOG_TAIL_LINES=40
passed=0
failed=0

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
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
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

# pe_objdump EXE: "objdump -p" of a Windows program, by the mingw-w64 tools of
# its own architecture (the machine field of its PE header).
pe_objdump() {
  local pe arch
  [ -f "$1" ] || { echo "no $1" >&2; return 1; }
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  case $(od -An -tx2 -j$((pe + 4)) -N2 "$1" | tr -d ' ') in
    014c) arch=win32 ;;
    8664) arch=win64 ;;
    *) echo "$1 is not an x86 Windows program" >&2; return 1 ;;
  esac
  "$(windows_build "$arch" tools)-objdump" -p "$1"
}

# pe_imports EXE: what EXE imports, one DLL!function a line, sorted, the DLL in
# capitals (Windows matches DLL names without regard to case); a function
# imported by its ordinal only is DLL!#ordinal. objdump does not list a
# delay-import table: one that is there at all shows as DELAY-LOADED!table.
pe_imports() {
  local dump
  dump=$(pe_objdump "$1") || return 1
  awk '
    /^Entry d / && $0 ~ /Delay Import Directory/ && ($3 !~ /^0+$/ || $4 !~ /^0+$/) { print "DELAY-LOADED!table" }
    /^\tDLL Name: / { dll = toupper($3); next }
    /^[^ \t]/ { dll = "" }
    dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll "!" ($3 == "<none>" ? "#" $2 : $3) }
  ' <<<"$dump" | LC_ALL=C sort -u
}

# imports_check EXE LIST: EXE imports nothing that LIST (DLL!function, one a
# line, # for comments) does not list; each import it does not is named. On its
# own, for a quick look at a build:
#   bash -c '. tests/checks.sh; imports_check build/win32/Lullscreen.exe tests/release/imports.txt'
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
  local dump
  dump=$(pe_objdump "$1") || return 1
  awk -v exe="$1" -v max="$2" '
    $1 == "MajorSubsystemVersion" { major = $2 }
    $1 == "MinorSubsystemVersion" { minor = $2 }
    END {
      split(max, m, ".")
      if (major == "" || major + 0 > m[1] + 0 || (major + 0 == m[1] + 0 && minor + 0 > m[2] + 0)) {
        print exe " asks for Windows " major "." minor " (subsystem version), later than " max
        exit 1
      }
    }' <<<"$dump"
}
