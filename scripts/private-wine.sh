# Sourced by every script that runs Wine (scripts/run, scripts/wine-run, the test layers,
# the benchmarks): the project's private Wine, and what it reads in Windows programs.
#   - the environment, and prefixes only under build/wine/ of this checkout, whatever the
#     environment says: a caller's own WINEPREFIX is never used, changed or deleted;
#   - wine_prefix_ready, the one way a prefix is made (null graphics driver, relay list);
#   - a Wine server kept up between runs, and a virtual sound card: a private PulseAudio
#     with a null sink named "Динамики" (not ASCII), a name the mixer devices take on;
#   - the watcher, progman_watch.exe: a window of the shell's class "Progman" that prints
#     every WM_SYSCOMMAND it receives with its tick count;
#   - watched runs: Wine's traces of the calls that matter, kept for the program's own
#     process (events.awk), its console output as bytes and exit status, and what the
#     machine saw in plain words (describe.awk);
#   - the PE readers: what the headers of a Windows program say.
# Wine's services inherit the handles of whatever starts them and keep pipes open, so all
# Wine output goes to files. An exit request ends the Wine session together with the
# process group of the caller, so every Wine process starts in a session of its own.
#
# Wine runs 32-bit Windows programs only where the machine runs 32-bit Linux programs.
# Where it does not, LULLSCREEN_WINE_ARCH is win64: "wine" is then Wine's 64-bit loader,
# prefixes are 64-bit, and the Windows builds run here are 64-bit ones of the same code.
LULLSCREEN_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
PRIVATE_WINE="$LULLSCREEN_ROOT/scripts/private-wine"

# windows_build ARCH WHAT: how the project builds for one Windows architecture:
# the CMake preset of its programs or of its unit tests, or the prefix of its
# mingw-w64 tools. win32 is what ships; win64 runs where win32 cannot.
windows_build() {
  case $1:$2 in
    win32:programs) echo win32 ;;
    win32:tests)    echo win32-tests ;;
    win32:tools)    echo i686-w64-mingw32 ;;
    win64:programs) echo win64 ;;
    win64:tests)    echo win64-tests ;;
    win64:tools)    echo x86_64-w64-mingw32 ;;
    *) echo "windows_build: no $2 for $1" >&2; return 1 ;;
  esac
}

if [ -z "${LULLSCREEN_WINE_ARCH:-}" ]; then
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then LULLSCREEN_WINE_ARCH=win32; else LULLSCREEN_WINE_ARCH=win64; fi
fi
export LULLSCREEN_WINE_ARCH WINEARCH=$LULLSCREEN_WINE_ARCH WINEDEBUG=${WINEDEBUG:--all}
if [ "$LULLSCREEN_WINE_ARCH" = win64 ]; then
  case ":$PATH:" in *":$PRIVATE_WINE/wine64:"*) ;; *) PATH="$PRIVATE_WINE/wine64:$PATH" ;; esac
  export PATH WINELOADER=/usr/lib/wine/wine64
fi
# No .NET or HTML engine to install, and no menu entries written into the user's home.
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

# wine_prefix NAME: Wine works in build/wine/NAME-ARCH from now on: "tests" (the
# default) for the test layers and the benchmarks, "run" for scripts/run, so that the
# run command and a test run of the same checkout leave each other alone.
wine_prefix() { export WINEPREFIX="$LULLSCREEN_ROOT/build/wine/$1-$LULLSCREEN_WINE_ARCH"; }
wine_prefix tests

# Exports the program's tests are about; each is relayed with its arguments and result.
WATCHED_RELAY="user32.FindWindowW;user32.PostMessageW;user32.LockWorkStation;user32.ExitWindowsEx;kernel32.Sleep"
WATCHED_RELAY+=";kernelbase.Sleep;kernel32.SetSystemPowerState;kernelbase.SetSystemPowerState;kernel32.CloseHandle"
WATCHED_RELAY+=";kernelbase.CloseHandle;advapi32.OpenProcessToken;kernelbase.OpenProcessToken"
WATCHED_RELAY+=";advapi32.LookupPrivilegeValueW;advapi32.AdjustTokenPrivileges;kernelbase.AdjustTokenPrivileges"
WATCHED_RELAY+=";ole32.CoInitialize;ole32.CoCreateInstance;ole32.CoUninitialize;combase.CoInitialize"
WATCHED_RELAY+=";combase.CoCreateInstance;combase.CoUninitialize;winmm.mixerGetNumDevs;winmm.mixerGetDevCapsW"
WATCHED_RELAY+=";winmm.mixerOpen;winmm.mixerClose;winmm.mixerGetLineInfoW;winmm.mixerGetLineControlsW"
WATCHED_RELAY+=";winmm.mixerGetControlDetailsW;winmm.mixerSetControlDetails;kernel32.WriteConsoleW"
WATCHED_RELAY+=";kernelbase.WriteConsoleW;kernel32.WriteFile;kernelbase.WriteFile"
WATCHED_TRACE="+relay,+timestamp,+pid,+loaddll,trace+mmdevapi,trace+winmm,fixme-all"

# windows_path PATH: a Unix path as a Windows program sees it (Wine maps / to Z:).
windows_path() {
  local p=$1
  printf 'Z:%s' "${p//\//\\}"
}

# wine_prefix_ready: the prefix exists, made by the project, with its settings: the
# null graphics driver (no display needed) and the relay list. A folder that the
# project did not make there is refused, never deleted or made anew; one it began to
# make (an interrupted first start) is made again. Runs in parallel (ctest -j) take
# turns. The first start's output goes to build/wine/NAME-ARCH.log.
wine_prefix_ready() {
  mkdir -p "${WINEPREFIX%/*}" || return 1
  (
    flock 9
    printf '%s\n' REGEDIT4 "" '[HKEY_CURRENT_USER\Software\Wine\Drivers]' '"Graphics"="null"' "" \
      '[HKEY_CURRENT_USER\Software\Wine\Debug]' "\"RelayInclude\"=\"$WATCHED_RELAY\"" >"$WINEPREFIX.reg"
    [ -f "$WINEPREFIX/.lullscreen-ready" ] && cmp -s "$WINEPREFIX.reg" "$WINEPREFIX/.lullscreen-settings.reg" && exit 0
    if [ -e "$WINEPREFIX" ] && [ ! -f "$WINEPREFIX/.lullscreen-made" ]; then
      echo "$WINEPREFIX was not made by Lullscreen: not using it, nor deleting it (move it away)" >&2
      exit 1
    fi
    # A server of ours left running by an interrupted run would keep "wineserver -w" waiting.
    wineserver -k >/dev/null 2>&1 || true
    if [ ! -f "$WINEPREFIX/.lullscreen-ready" ]; then
      rm -rf "$WINEPREFIX"
      mkdir "$WINEPREFIX" && : >"$WINEPREFIX/.lullscreen-made" || exit 1
      wineboot -i >"$WINEPREFIX.log" 2>&1 </dev/null || true
      wineserver -w
      : >"$WINEPREFIX/.lullscreen-ready"
    fi
    wine regedit /S "$(windows_path "$WINEPREFIX.reg")" >/dev/null 2>&1 </dev/null || true
    wineserver -w
    cp "$WINEPREFIX.reg" "$WINEPREFIX/.lullscreen-settings.reg"
  ) 9>"$WINEPREFIX.lock"
}

# ---- the server, the sound card and the Windows version of watched runs ---------------

# watched_init WORKDIR EXE WATCHER: runs of EXE (and the watcher, progman_watch.exe)
# keep their logs and the sound card under WORKDIR.
watched_init() {
  mkdir -p "$1"
  WATCHED_WORK=$(cd "$1" && pwd)
  WATCHED_EXE=$2
  WATCHER_EXE=$3
  WATCHED_VERSION="" SOUND_CARD_DIR="$WATCHED_WORK/pulse" SOUND_CARD_PID="" WINE_SERVER_PID="" WINE_SERVER_LOG=""
  WATCHER_PID="" WATCHER_LOG="" WATCHER_COUNT=0 WATCHER_HWND=""
  rm -f "$WATCHED_WORK"/watch-*.log*
  # The sound card every Wine process sees unless a run asks for none.
  export XDG_RUNTIME_DIR="$SOUND_CARD_DIR" XDG_CONFIG_HOME="$SOUND_CARD_DIR/config"
  export PULSE_SERVER="unix:$SOUND_CARD_DIR/pulse/native"
  mkdir -p "$SOUND_CARD_DIR/config"
  chmod 700 "$SOUND_CARD_DIR"
  # Without the sound card: a server address that does not exist, and no autospawn.
  printf 'autospawn = no\n' >"$WATCHED_WORK/no-sound-card.conf"
}

# watched_up [SERVER-LOG]: the prefix ready, the sound card and a server up (see
# wine_server_start) until the caller exits. Fails with 1 without a prefix, and with 2
# without the sound card, which it says; runs then go without one (WATCHED_SOUND=none).
watched_up() {
  trap watched_down EXIT
  trap 'exit 130' INT TERM
  wine_prefix_ready || return 1
  WATCHED_SOUND=yes
  sound_card_start || { WATCHED_SOUND=none; echo "PulseAudio did not start (see $WATCHED_WORK/pulseaudio.log)" >&2; }
  wine_server_start "$@"
  [ "$WATCHED_SOUND" = yes ] || return 2
}

# watched_down: the program of a run, the server, the watcher and the sound card ended.
watched_down() {
  [ -n "${WATCHED_PID:-}" ] && kill "$WATCHED_PID" 2>/dev/null
  wine_server_stop
  sound_card_stop
}

# wine_server_start [LOGFILE]: a Wine server that stays up between runs; with LOGFILE it
# also logs every request (the privilege records of the power actions show only there).
wine_server_start() {
  local i socket
  wine_server_stop
  WINE_SERVER_LOG=${1:-}
  touch "$WATCHED_WORK/server.started"
  setsid wineserver -f -p ${WINE_SERVER_LOG:+-d1} >/dev/null 2>>"${WINE_SERVER_LOG:-/dev/null}" </dev/null &
  WINE_SERVER_PID=$!
  # Ready once it listens: its socket is made anew in the folder it works in (a killed
  # server leaves its old one behind).
  socket="/proc/$WINE_SERVER_PID/cwd/socket"
  for i in $(seq 200); do
    [ -S "$socket" ] && [ "$socket" -nt "$WATCHED_WORK/server.started" ] && break
    kill -0 "$WINE_SERVER_PID" 2>/dev/null || break
    sleep 0.05
  done
}

# wine_server_stop: the watcher, the server and every process of the prefix's session
# ended (also one left running by an interrupted run).
wine_server_stop() {
  watcher_stop
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ -n "$WINE_SERVER_PID" ]; then
    wait "$WINE_SERVER_PID" 2>/dev/null || true
    WINE_SERVER_PID=""
  fi
}

sound_card_start() {
  local pidfile="$SOUND_CARD_DIR/pulse/pid" old
  # One left running by an interrupted run of ours in this same folder.
  old=$(cat "$pidfile" 2>/dev/null)
  [ -n "$old" ] && [ "$(cat "/proc/$old/comm" 2>/dev/null)" = pulseaudio ] && kill "$old" && sleep 0.5
  rm -f "$pidfile"
  HOME="$SOUND_CARD_DIR" pulseaudio --daemonize=yes --exit-idle-time=-1 -n --use-pid-file=yes \
    --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=nullsink sink_properties=device.description=Динамики" \
    >"$WATCHED_WORK/pulseaudio.log" 2>&1 </dev/null || return 1
  SOUND_CARD_PID=$(cat "$pidfile" 2>/dev/null)
  [ -n "$SOUND_CARD_PID" ] && [ -S "$SOUND_CARD_DIR/pulse/native" ]
}

sound_card_stop() {
  local i
  [ -n "$SOUND_CARD_PID" ] || return 0
  kill "$SOUND_CARD_PID" 2>/dev/null || true
  for i in $(seq 40); do
    kill -0 "$SOUND_CARD_PID" 2>/dev/null || break
    sleep 0.05
  done
  SOUND_CARD_PID=""
}

# wine_set_version winxp|win7|...: the Windows version Wine reports, as winecfg -v sets it.
wine_set_version() {
  [ "$WATCHED_VERSION" = "$1" ] && return 0
  wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1 </dev/null
  WATCHED_VERSION=$1
}

# ---- the watcher ----------------------------------------------------------------------

# watcher_start: a running watcher (one serves many runs; an exit request ends it with
# the Wine session, and the next run starts another). Each watcher writes a log of its
# own, made empty before it starts: the answer read is its own, never a line that an
# earlier run left in a file of the same name. WATCHER_FAILED says why it did not start.
watcher_start() {
  local i status
  [ -n "$WATCHER_PID" ] && kill -0 "$WATCHER_PID" 2>/dev/null && [ -n "$WATCHER_HWND" ] && return 0
  WATCHER_COUNT=$((WATCHER_COUNT + 1))
  WATCHER_LOG="$WATCHED_WORK/watch-$WATCHER_COUNT.log"
  WATCHER_HWND=""
  rm -f "$WATCHED_WORK/watch.stop"
  : >"$WATCHER_LOG"
  setsid wine "$WATCHER_EXE" "$(windows_path "$WATCHED_WORK/watch.stop")" 3600000 \
    >"$WATCHER_LOG" 2>"$WATCHER_LOG.err" </dev/null &
  WATCHER_PID=$!
  for i in $(seq 600); do
    WATCHER_HWND=$(sed -n 's/^READY hwnd=0x\([0-9A-Fa-f]*\) tick=.*/\1/p' "$WATCHER_LOG" | tr 'A-F' 'a-f')
    [ -n "$WATCHER_HWND" ] && return 0
    kill -0 "$WATCHER_PID" 2>/dev/null || break
    sleep 0.05
  done
  kill "$WATCHER_PID" 2>/dev/null
  wait "$WATCHER_PID" 2>/dev/null
  status=$?
  WATCHER_PID=""
  WATCHER_FAILED="the watcher did not start (exit status $status after $((i * 50)) ms; see $WATCHER_LOG.err)"
  return 1
}

watcher_stop() {
  local i
  [ -n "$WATCHER_PID" ] || return 0
  touch "$WATCHED_WORK/watch.stop"
  for i in $(seq 60); do
    kill -0 "$WATCHER_PID" 2>/dev/null || break
    sleep 0.05
  done
  kill "$WATCHER_PID" 2>/dev/null || true
  wait "$WATCHER_PID" 2>/dev/null || true
  WATCHER_PID=""
  WATCHER_HWND=""
}

# ---- watched runs ---------------------------------------------------------------------

# watched_start DIR SOUND OVERRIDES STDIN ARGS...: starts the program in the background
# (WATCHED_PID); its console output goes to DIR/out.bin and Wine's traces to DIR/trace.log.
# STDIN is a file to read from, or - for the caller's own standard input. With
# WATCHED_TERMINAL set, standard input and output are a UTF-8 pseudo-terminal instead, and
# out.bin is what the terminal was sent, control sequences and all.
watched_start() {
  local dir=$1 sound=$2 overrides=$3 input=$4
  shift 4
  local -a env=("WINEDEBUG=$WATCHED_TRACE")
  [ "$sound" = none ] && env+=("PULSE_SERVER=unix:$WATCHED_WORK/no-sound-card" "PULSE_CLIENTCONFIG=$WATCHED_WORK/no-sound-card.conf")
  [ -n "$overrides" ] && env+=("WINEDLLOVERRIDES=$WINEDLLOVERRIDES;$overrides")
  printf '%q ' "$@" >"$dir/args"
  : >"$dir/out.bin"
  if [ -n "${WATCHED_TERMINAL:-}" ]; then
    # script runs the command line with SHELL, which must read bash's quoting; Wine's
    # console writes to a terminal in the locale's character set.
    local command
    command="$(printf '%q ' env "${env[@]}" wine "$WATCHED_EXE" "$@") 2>$(printf '%q' "$dir/trace.log")"
    setsid env SHELL=/bin/bash LC_ALL=C.UTF-8 script -qfec "$command" /dev/null <"$input" >"$dir/out.bin" 2>/dev/null &
  elif [ "$input" = - ]; then
    # Stated explicitly: a background command would otherwise read from /dev/null.
    setsid env "${env[@]}" wine "$WATCHED_EXE" "$@" 0<&0 >"$dir/out.bin" 2>"$dir/trace.log" &
  else
    setsid env "${env[@]}" wine "$WATCHED_EXE" "$@" <"$input" >"$dir/out.bin" 2>"$dir/trace.log" &
  fi
  WATCHED_PID=$!
}

# watched_finish DIR [SECONDS]: waits for the program (killing it after SECONDS, 60 by
# default; 0 waits as long as it runs), records its exit status in DIR/status and its
# calls in DIR/events (those made from its image, WATCHED_EXE_SIZE bytes, by default
# WATCHED_EXE's).
watched_finish() {
  local dir=$1 limit=${2:-60} i status
  for ((i = 0; limit > 0 && i < limit * 20; i++)); do
    kill -0 "$WATCHED_PID" 2>/dev/null || break
    sleep 0.05
  done
  if [ "$limit" -gt 0 ] && kill -0 "$WATCHED_PID" 2>/dev/null; then
    kill -9 "$WATCHED_PID" 2>/dev/null || true
    echo "killed after ${limit} s" >"$dir/killed"
  fi
  wait "$WATCHED_PID"
  status=$?
  echo "$status" >"$dir/status"
  WATCHED_PID=""
  awk -v exe="$(basename "$WATCHED_EXE")" -v size="${WATCHED_EXE_SIZE:-$(pe_image_size "$WATCHED_EXE")}" -v hwnd="$WATCHER_HWND" \
    -f "$PRIVATE_WINE/events.awk" "$dir/trace.log" >"$dir/events"
  return 0
}

# watched_begin DIR [nowatch]: before a run: the watcher is up (unless the run goes
# without it; DIR/watch.failed says why it is not), and the logs shared by runs are marked.
watched_begin() {
  local dir=$1
  mkdir -p "$dir"
  rm -f "$dir/watch.failed"
  if [ "${2:-}" != nowatch ]; then
    watcher_start || echo "$WATCHER_FAILED" >"$dir/watch.failed"
  fi
  WATCHER_FROM=$(($(stat -c %s "$WATCHER_LOG" 2>/dev/null || echo 0) + 1))
  WINE_SERVER_FROM=$(($(stat -c %s "$WINE_SERVER_LOG" 2>/dev/null || echo 0) + 1))
}

# watched_end DIR: after a run: its part of the shared logs, once the watcher has had its turn.
watched_end() {
  local dir=$1
  sleep 0.1
  if [ -n "$WATCHER_PID" ]; then
    tail -c +"$WATCHER_FROM" "$WATCHER_LOG" 2>/dev/null | tr -d '\r' >"$dir/watch.log"
  else
    : >"$dir/watch.log"
  fi
  if [ -n "$WINE_SERVER_LOG" ]; then
    tail -c +"$WINE_SERVER_FROM" "$WINE_SERVER_LOG" >"$dir/server.log"
  fi
}

# watched_run DIR SOUND OVERRIDES STDIN ARGS...: one whole run, watched. With
# WATCHED_NOWATCH set the run goes without the watcher.
watched_run() {
  watched_begin "$1" ${WATCHED_NOWATCH:+nowatch}
  watched_start "$@"
  watched_finish "$1"
  watched_end "$1"
}

# watched_story DIR: the calls without their times, runs of 1 ms sleeps (the wait's
# polling) shown once.
watched_story() {
  awk '{ $1 = ""; sub(/^ /, "") }
       $0 == "Sleep(1)" { if (polling) next; polling = 1; print "Sleep(1)..."; next }
       { polling = 0; print }' "$1/events"
}

# watched_messages DIR: the WM_SYSCOMMAND messages the watcher received: "wParam lParam
# tick" per line.
watched_messages() {
  tr -d '\r' <"$1/watch.log" 2>/dev/null | sed -n 's/^WM_SYSCOMMAND wParam=\(0x[0-9A-Fa-f]*\) lParam=\(-*[0-9]*\) tick=\([0-9]*\)$/\1 \2 \3/p'
}

# watched_describe DIR: what the machine saw, in plain words, from the watcher and the calls.
watched_describe() {
  {
    watched_messages "$1" | sed 's/^/message /'
    sed 's/^/event /' "$1/events"
  } | awk -f "$PRIVATE_WINE/describe.awk"
}

# ---- what the headers of a Windows program say ----------------------------------------

# pe_field EXE OFFSET BYTES: the unsigned field of BYTES (2 or 4) at OFFSET bytes after
# the "PE\0\0" signature of EXE (its COFF header follows the signature, the optional
# header the COFF header's 20 bytes).
pe_field() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ') && [ -n "$pe" ] || { echo "cannot read $1" >&2; return 1; }
  od -An -tu"$3" -j$((pe + $2)) -N"$3" "$1" | tr -d ' '
}

# pe_arch EXE: win32 or win64, from the machine field.
pe_arch() {
  case $(pe_field "$1" 4 2) in
    332) echo win32 ;;    # IMAGE_FILE_MACHINE_I386
    34404) echo win64 ;;  # IMAGE_FILE_MACHINE_AMD64
    *) echo "$1 is not an x86 Windows program" >&2; return 1 ;;
  esac
}

# pe_image_size EXE: its size in memory (SizeOfImage), to tell its calls from the DLLs'.
pe_image_size() { pe_field "$1" 80 4; }

# pe_subsystem_version EXE: the Windows version its header asks for, "major.minor".
pe_subsystem_version() { echo "$(pe_field "$1" 72 2).$(pe_field "$1" 74 2)"; }

# pe_imports EXE: what EXE imports, one DLL!function a line, sorted, the DLL in
# capitals (Windows matches DLL names without regard to case); a function
# imported by its ordinal only is DLL!#ordinal. Read by the mingw-w64 objdump of
# EXE's own architecture, which does not list a delay-import table: one that is
# there at all shows as DELAY-LOADED!table.
pe_imports() {
  local arch dump
  arch=$(pe_arch "$1") && dump=$("$(windows_build "$arch" tools)-objdump" -p "$1") || return 1
  awk '
    /^Entry d / && $0 ~ /Delay Import Directory/ && ($3 !~ /^0+$/ || $4 !~ /^0+$/) { print "DELAY-LOADED!table" }
    /^\tDLL Name: / { dll = toupper($3); next }
    /^[^ \t]/ { dll = "" }
    dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ && $2 ~ /^[0-9]+$/ { print dll "!" ($3 == "<none>" ? "#" $2 : $3) }
  ' <<<"$dump" | LC_ALL=C sort -u
}
