# Sourced by tests/e2e/run-e2e and scripts/run: the machinery that runs Lullscreen.exe
# under Wine and watches it from outside.
#
#   - a private Wine prefix with the null graphics driver (no display needed);
#   - a private PulseAudio with a null sink, the virtual sound card (runs can go without it),
#     named "Динамики": a name that is not ASCII, which the mixer devices take on;
#   - progman_watch.exe, a window of the shell's class "Progman" that prints every
#     WM_SYSCOMMAND it receives with its tick count;
#   - Wine's relay trace of the calls that matter, its mmdevapi and winmm traces, kept
#     for the program's own process only (tests/e2e/events.awk);
#   - the console output as bytes, and the exit status.
#
# Wine's services inherit the handles of whatever starts them and keep pipes open, so
# all Wine output goes to files. An exit request ends the Wine session together with
# the process group of the caller, so every Wine process starts in a session of its own.

E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Exports the program's tests are about; each is relayed with its arguments and result.
E2E_RELAY="user32.FindWindowW;user32.PostMessageW;user32.LockWorkStation;user32.ExitWindowsEx"
E2E_RELAY+=";kernel32.Sleep;kernelbase.Sleep;kernel32.SetSystemPowerState;kernelbase.SetSystemPowerState"
E2E_RELAY+=";kernel32.CloseHandle;kernelbase.CloseHandle"
E2E_RELAY+=";advapi32.OpenProcessToken;kernelbase.OpenProcessToken;advapi32.LookupPrivilegeValueW"
E2E_RELAY+=";advapi32.AdjustTokenPrivileges;kernelbase.AdjustTokenPrivileges"
E2E_RELAY+=";ole32.CoInitialize;ole32.CoCreateInstance;ole32.CoUninitialize"
E2E_RELAY+=";combase.CoInitialize;combase.CoCreateInstance;combase.CoUninitialize"
E2E_RELAY+=";winmm.mixerGetNumDevs;winmm.mixerGetDevCapsW;winmm.mixerOpen;winmm.mixerClose"
E2E_RELAY+=";winmm.mixerGetLineInfoW;winmm.mixerGetLineControlsW;winmm.mixerGetControlDetailsW"
E2E_RELAY+=";winmm.mixerSetControlDetails"
E2E_RELAY+=";kernel32.WriteConsoleW;kernelbase.WriteConsoleW;kernel32.WriteFile;kernelbase.WriteFile"
E2E_TRACE="+relay,+timestamp,+pid,+loaddll,trace+mmdevapi,trace+winmm,fixme-all"

# e2e_init WORKDIR EXE WATCHER: the private environment lives under WORKDIR.
e2e_init() {
  mkdir -p "$1"
  E2E_WORK=$(cd "$1" && pwd)
  E2E_EXE=$2
  E2E_WATCHER=$3
  E2E_EXE_SIZE=$(e2e_image_size "$E2E_EXE")
  E2E_VERSION=""
  E2E_PULSE_DIR="$E2E_WORK/pulse"
  E2E_PULSE_PID=""
  E2E_SERVER_PID=""
  E2E_SERVER_LOG=""
  E2E_WATCH_PID=""
  E2E_WATCH_LOG=""
  E2E_WATCH_COUNT=0
  E2E_HWND=""
  export WINEPREFIX="$E2E_WORK/wine" WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  # The Wine of this machine: 32-bit, or 64-bit where 32-bit programs cannot run.
  source "$E2E_HERE/../../scripts/wine-env"
  # The sound card every Wine process sees unless a run asks for none.
  export XDG_RUNTIME_DIR="$E2E_PULSE_DIR" XDG_CONFIG_HOME="$E2E_PULSE_DIR/config"
  export PULSE_SERVER="unix:$E2E_PULSE_DIR/pulse/native"
  mkdir -p "$E2E_PULSE_DIR/config"
  chmod 700 "$E2E_PULSE_DIR"
  # Without the sound card: a server address that does not exist, and no autospawn.
  printf 'autospawn = no\n' >"$E2E_WORK/no-sound-card.conf"
}

# The size of a PE image in memory (SizeOfImage), to tell the program's calls from the DLLs'.
e2e_image_size() {
  local pe
  pe=$(od -An -tu4 -j60 -N4 "$1" | tr -d ' ')
  od -An -tu4 -j$((pe + 80)) -N4 "$1" | tr -d ' '
}

# A Unix path as the Windows program sees it (Wine maps / to Z:).
e2e_winpath() {
  local p=$1
  printf 'Z:%s' "${p//\//\\}"
}

# The prefix (made once, see scripts/wine-env) with the relay settings of the suite.
e2e_prefix_ready() {
  # A server of ours left running by an interrupted run would keep "wineserver -w" waiting.
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  WINE_PREFIX_LOG="$E2E_WORK/wineboot.log" wine_prefix_ready
  cat >"$E2E_WORK/settings.reg" <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Drivers]
"Graphics"="null"

[HKEY_CURRENT_USER\\Software\\Wine\\Debug]
"RelayInclude"="$E2E_RELAY"
EOF
  if ! cmp -s "$E2E_WORK/settings.reg" "$WINEPREFIX/.e2e-settings.reg"; then
    wine regedit /S "$(e2e_winpath "$E2E_WORK/settings.reg")" >/dev/null 2>&1 </dev/null
    wineserver -w
    cp "$E2E_WORK/settings.reg" "$WINEPREFIX/.e2e-settings.reg"
  fi
}

# e2e_server_start [LOGFILE]: a Wine server that stays up between runs; with LOGFILE it
# also logs every request (the privilege records of the power actions show only there).
e2e_server_start() {
  e2e_server_stop
  E2E_SERVER_LOG=${1:-}
  if [ -n "$E2E_SERVER_LOG" ]; then
    touch "$E2E_WORK/server.started"
    setsid wineserver -f -p -d1 >/dev/null 2>>"$E2E_SERVER_LOG" </dev/null &
    E2E_SERVER_PID=$!
    # Ready once it listens: its socket is made anew in the folder it works in (a killed
    # server leaves its old one behind).
    local i socket="/proc/$E2E_SERVER_PID/cwd/socket"
    for i in $(seq 200); do
      [ -S "$socket" ] && [ "$socket" -nt "$E2E_WORK/server.started" ] && break
      kill -0 "$E2E_SERVER_PID" 2>/dev/null || break
      sleep 0.05
    done
  else
    wineserver -p >/dev/null 2>&1 </dev/null
    E2E_SERVER_PID=""
  fi
}

e2e_server_stop() {
  e2e_watch_stop
  wineserver -k >/dev/null 2>&1 || true
  wineserver -w >/dev/null 2>&1 || true
  if [ -n "$E2E_SERVER_PID" ]; then
    wait "$E2E_SERVER_PID" 2>/dev/null || true
    E2E_SERVER_PID=""
  fi
}

e2e_pulse_start() {
  local pidfile="$E2E_PULSE_DIR/pulse/pid" old
  # One left running by an interrupted run of ours in this same folder.
  if [ -f "$pidfile" ]; then
    old=$(cat "$pidfile")
    if [ -n "$old" ] && [ "$(cat "/proc/$old/comm" 2>/dev/null)" = pulseaudio ]; then
      kill "$old" 2>/dev/null || true
      sleep 0.5
    fi
    rm -f "$pidfile"
  fi
  HOME="$E2E_PULSE_DIR" pulseaudio --daemonize=yes --exit-idle-time=-1 -n --use-pid-file=yes \
    --load=module-native-protocol-unix \
    --load="module-null-sink sink_name=nullsink sink_properties=device.description=Динамики" \
    >"$E2E_WORK/pulseaudio.log" 2>&1 </dev/null || return 1
  E2E_PULSE_PID=$(cat "$pidfile" 2>/dev/null)
  [ -n "$E2E_PULSE_PID" ] && [ -S "$E2E_PULSE_DIR/pulse/native" ]
}

e2e_pulse_stop() {
  local i
  [ -n "$E2E_PULSE_PID" ] || return 0
  kill "$E2E_PULSE_PID" 2>/dev/null || true
  for i in $(seq 40); do
    kill -0 "$E2E_PULSE_PID" 2>/dev/null || break
    sleep 0.05
  done
  E2E_PULSE_PID=""
}

# e2e_set_version winxp|win7|...: the Windows version Wine reports, as winecfg -v sets it.
e2e_set_version() {
  [ "$E2E_VERSION" = "$1" ] && return 0
  wine reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1 </dev/null
  E2E_VERSION=$1
}

# e2e_watch_ensure: a running watcher (one serves many runs; an exit request ends it
# with the Wine session, and the next run starts another).
e2e_watch_ensure() {
  local i
  if [ -n "$E2E_WATCH_PID" ] && kill -0 "$E2E_WATCH_PID" 2>/dev/null && [ -n "$E2E_HWND" ]; then
    return 0
  fi
  local attempt
  for attempt in 1 2; do
    E2E_WATCH_COUNT=$((E2E_WATCH_COUNT + 1))
    E2E_WATCH_LOG="$E2E_WORK/watch-$E2E_WATCH_COUNT.log"
    rm -f "$E2E_WORK/watch.stop"
    setsid wine "$E2E_WATCHER" "$(e2e_winpath "$E2E_WORK/watch.stop")" 3600000 \
      >"$E2E_WATCH_LOG" 2>"$E2E_WATCH_LOG.err" </dev/null &
    E2E_WATCH_PID=$!
    for i in $(seq 600); do
      grep -q '^READY' "$E2E_WATCH_LOG" 2>/dev/null && break
      kill -0 "$E2E_WATCH_PID" 2>/dev/null || break
      sleep 0.05
    done
    E2E_HWND=$(sed -n 's/^READY hwnd=0x\([0-9A-Fa-f]*\).*/\1/p' "$E2E_WATCH_LOG" | tr 'A-F' 'a-f')
    [ -n "$E2E_HWND" ] && return 0
    # A session still starting up can turn away the first process; once more.
    kill "$E2E_WATCH_PID" 2>/dev/null
    wait "$E2E_WATCH_PID" 2>/dev/null
  done
  return 1
}

e2e_watch_stop() {
  local i
  [ -n "$E2E_WATCH_PID" ] || return 0
  touch "$E2E_WORK/watch.stop"
  for i in $(seq 60); do
    kill -0 "$E2E_WATCH_PID" 2>/dev/null || break
    sleep 0.05
  done
  kill "$E2E_WATCH_PID" 2>/dev/null || true
  wait "$E2E_WATCH_PID" 2>/dev/null || true
  E2E_WATCH_PID=""
  E2E_HWND=""
}

# e2e_program_env SOUND: the environment of one run of the program, as "env" arguments.
e2e_program_env() {
  printf '%s\n' "WINEDEBUG=$E2E_TRACE"
  if [ "$1" = none ]; then
    printf '%s\n' "PULSE_SERVER=unix:$E2E_WORK/no-sound-card" "PULSE_CLIENTCONFIG=$E2E_WORK/no-sound-card.conf"
  fi
}

# e2e_start DIR SOUND OVERRIDES STDIN ARGS...: starts the program in the background
# (E2E_PID); its console output goes to DIR/out.bin and Wine's traces to DIR/trace.log.
# STDIN is a file to read from, or - for the caller's own standard input. With
# E2E_TERMINAL set, standard input and output are a UTF-8 pseudo-terminal instead, and
# out.bin is what the terminal was sent, control sequences and all.
e2e_start() {
  local dir=$1 sound=$2 overrides=$3 input=$4
  shift 4
  local -a env
  mapfile -t env < <(e2e_program_env "$sound")
  [ -n "$overrides" ] && env+=("WINEDLLOVERRIDES=$WINEDLLOVERRIDES;$overrides")
  printf '%q ' "$@" >"$dir/args"
  : >"$dir/out.bin"
  if [ -n "${E2E_TERMINAL:-}" ]; then
    # script runs the command line with SHELL, which must read bash's quoting; Wine's
    # console writes to a terminal in the locale's character set.
    local command
    command="$(printf '%q ' env "${env[@]}" wine "$E2E_EXE" "$@") 2>$(printf '%q' "$dir/trace.log")"
    setsid env SHELL=/bin/bash LC_ALL=C.UTF-8 script -qfec "$command" /dev/null <"$input" >"$dir/out.bin" 2>/dev/null &
  elif [ "$input" = - ]; then
    # Stated explicitly: a background command would otherwise read from /dev/null.
    setsid env "${env[@]}" wine "$E2E_EXE" "$@" 0<&0 >"$dir/out.bin" 2>"$dir/trace.log" &
  else
    setsid env "${env[@]}" wine "$E2E_EXE" "$@" <"$input" >"$dir/out.bin" 2>"$dir/trace.log" &
  fi
  E2E_PID=$!
}

# e2e_finish DIR [SECONDS]: waits for the program (killing it after SECONDS), records its
# exit status in DIR/status and its calls in DIR/events.
e2e_finish() {
  local dir=$1 limit=${2:-60} i status
  for ((i = 0; i < limit * 20; i++)); do
    kill -0 "$E2E_PID" 2>/dev/null || break
    sleep 0.05
  done
  if kill -0 "$E2E_PID" 2>/dev/null; then
    kill -9 "$E2E_PID" 2>/dev/null || true
    echo "killed after ${limit} s" >"$dir/killed"
  fi
  wait "$E2E_PID"
  status=$?
  echo "$status" >"$dir/status"
  e2e_events "$dir"
  return 0
}

e2e_events() {
  awk -v exe="$(basename "$E2E_EXE")" -v size="$E2E_EXE_SIZE" -v hwnd="${E2E_HWND:-}" \
    -f "$E2E_HERE/events.awk" "$1/trace.log" >"$1/events"
}

# e2e_begin DIR [nowatch]: before a run: the watcher is up (unless the run goes without
# it), and the logs shared by runs are marked.
e2e_begin() {
  local dir=$1
  mkdir -p "$dir"
  rm -f "$dir/watch.failed"
  if [ "${2:-}" != nowatch ]; then
    e2e_watch_ensure || echo "the watcher did not start (see $E2E_WATCH_LOG.err)" >"$dir/watch.failed"
  fi
  E2E_WATCH_FROM=$(($(stat -c %s "$E2E_WATCH_LOG" 2>/dev/null || echo 0) + 1))
  E2E_SERVER_FROM=$(($(stat -c %s "$E2E_SERVER_LOG" 2>/dev/null || echo 0) + 1))
}

# e2e_end DIR: after a run: its part of the shared logs, once the watcher has had its turn.
e2e_end() {
  local dir=$1
  sleep 0.1
  if [ -n "$E2E_WATCH_PID" ]; then
    tail -c +"$E2E_WATCH_FROM" "$E2E_WATCH_LOG" 2>/dev/null | tr -d '\r' >"$dir/watch.log"
  else
    : >"$dir/watch.log"
  fi
  if [ -n "$E2E_SERVER_LOG" ]; then
    tail -c +"$E2E_SERVER_FROM" "$E2E_SERVER_LOG" >"$dir/server.log"
  fi
}

# e2e_run DIR SOUND OVERRIDES STDIN ARGS...: one whole run, watched. With E2E_NOWATCH set
# the run goes without the watcher.
e2e_run() {
  e2e_begin "$1" ${E2E_NOWATCH:+nowatch}
  e2e_start "$@"
  e2e_finish "$1"
  e2e_end "$1"
}

# The calls without their times, runs of 1 ms sleeps (the wait's polling) shown once.
e2e_story() {
  awk -f "$E2E_HERE/story.awk" "$1/events"
}

# The WM_SYSCOMMAND messages the watcher received: "wParam lParam tick" per line.
e2e_messages() {
  tr -d '\r' <"$1/watch.log" 2>/dev/null | sed -n 's/^WM_SYSCOMMAND wParam=\(0x[0-9A-Fa-f]*\) lParam=\(-*[0-9]*\) tick=\([0-9]*\)$/\1 \2 \3/p'
}

# What the machine saw, in plain words, from the watcher and the calls.
e2e_describe() {
  local dir=$1
  {
    e2e_messages "$dir" | sed 's/^/message /'
    sed 's/^/event /' "$dir/events"
  } | awk -f "$E2E_HERE/describe.awk"
}
