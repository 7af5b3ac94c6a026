# The end-to-end cases, sourced by run-e2e. Each case runs Lullscreen.exe once under Wine
# and compares what was seen from outside with what the program must do. Cases are rows
# of named fields; the checks derive what to expect from them.

GUID_NULL="{00000000-0000-0000-0000-000000000000}"
CLSID_ENUMERATOR="{bcde0395-e52f-467c-8e3d-c4579291692e}"
IID_UNKNOWN="{00000000-0000-0000-c000-000000000046}"
IID_ENUMERATOR="{a95664d2-9614-4f35-a746-de8db63617e6}"
IID_ENDPOINT_VOLUME="{5cdf2c82-841e-4546-9722-0cf74078229a}"
# Slack for the wait's end: the last 1 ms poll, the two posts and the watcher's turn.
WAIT_SLACK_MS=180

# The calls that make up what a run does; everything else is detail.
SKELETON='^(CoInitialize|CoUninitialize|IAudioEndpointVolume::SetMute|Sleep|FindWindowW|PostMessageW|LockWorkStation|ExitWindowsEx|SetSystemPowerState|OpenProcessToken|LookupPrivilegeValueW|AdjustTokenPrivileges|CloseHandle|mixerOpen|mixerSetControlDetails)\('

DISPLAY_OFF=(
  'Sleep(1)...'
  'FindWindowW(L"ProgMan",0) = progman'
  'PostMessageW(progman,0x112,0xf170,1) = 1'
  'Sleep(0)'
  'PostMessageW(progman,0x112,0xf170,2) = 1'
)

# ---- the case frame -------------------------------------------------------------------

case_begin() {
  CASE=$1
  CASE_NUMBER=$((CASE_NUMBER + 1))
  CASE_DIR="$runs/$(printf '%02d-%s' "$CASE_NUMBER" "$1" | tr -c 'A-Za-z0-9-' '_' | sed 's/__*/_/g; s/_$//')"
  CASE_FAILS=()
  CASE_STARTED=${EPOCHREALTIME/,/.}
  rm -rf "$CASE_DIR"
  mkdir -p "$CASE_DIR"
}

fail() { CASE_FAILS+=("$*"); }

case_end() {
  local took
  took=$(awk -v a="$CASE_STARTED" -v b="${EPOCHREALTIME/,/.}" 'BEGIN { printf "%.1f s", b - a }')
  if [ ${#CASE_FAILS[@]} -eq 0 ]; then
    echo "PASS  $CASE  ($took)"
    checks_passed=$((checks_passed + 1))
  else
    echo "FAIL  $CASE  ($took; $CASE_DIR)"
    printf '%s\n' "${CASE_FAILS[@]}" | sed 's/^/        /'
    checks_failed=$((checks_failed + 1))
  fi
}

# selected NAME: the case is to run (its name matches the pattern given to run-e2e).
selected() {
  # shellcheck disable=SC2053
  [[ $1 == $case_pattern ]]
}

# fields KEY=VALUE...: fills the caller's associative array f.
fields() {
  local kv
  for kv; do
    f[${kv%%=*}]=${kv#*=}
  done
}

# The argument list of a row: words; "<empty>" stands for an empty argument.
row_args() {
  local -a words
  read -ra words <<<"$1"
  argv=()
  local w
  for w in "${words[@]}"; do
    [ "$w" = "<empty>" ] && w=""
    argv+=("$w")
  done
}

# ---- checks ---------------------------------------------------------------------------

expect_status_0() {
  local status
  status=$(cat "$CASE_DIR/status" 2>/dev/null)
  [ -f "$CASE_DIR/killed" ] && fail "the program did not end: $(cat "$CASE_DIR/killed")"
  [ "$status" = 0 ] || fail "exit status ${status:-?}, expected 0"
  grep -q "start " "$CASE_DIR/events" || fail "no trace of the program's process (see trace.log)"
}

# expect_output TEXT...: the console output is exactly these lines, each ended by CR LF.
expect_output() {
  local expected="$CASE_DIR/out.expected"
  : >"$expected"
  [ $# -gt 0 ] && printf '%s\r\n' "$@" >"$expected"
  if ! cmp -s "$expected" "$CASE_DIR/out.bin"; then
    fail "console output differs (expected out.expected, got out.bin):"
    fail "$(od -c "$CASE_DIR/out.bin" | head -n 6)"
  fi
}

USAGE=(
  "Usage: Lullscreen.exe [waitmsec] [options]"
  "                      -muteon   : SpeakerMuteOn"
  "                      -muteoff  : SpeakerMuteOff"
  "                      -withlock : LockWorkStation"
  ""
  "                      -reboot   : PC Reboot"
  "                      -shutdown : PC Shutdown"
  "                      -suspend  : PC Suspend"
  "                      -hibernate: PC Hibernate"
)

expect_banner() {
  local out="$CASE_DIR/out.bin"
  printf '%s\r\n' "${USAGE[@]}" >"$CASE_DIR/out.expected"
  [ "$(tr -cd '\n' <"$out" | wc -c)" = 10 ] || fail "banner: expected 10 lines"
  [ "$(tr -cd '\r' <"$out" | wc -c)" = 10 ] || fail "banner: expected exactly one CR per line"
  head -n 1 "$out" | grep -q $'^[^\r]\+\r$' || fail "banner: line 1 is empty or not ended by CR LF"
  tail -n +2 "$out" | cmp -s "$CASE_DIR/out.expected" - || fail "banner: lines 2 to 10 differ from out.expected"
}

# What the terminal showed, as a person reads it: no control sequences, no CRs.
terminal_text() {
  sed $'s/\x1b\\[[0-9;?]*[A-Za-z]//g' "$CASE_DIR/out.bin" | tr -d '\r'
}

# expect_console_writes: standard output, a console, was written as UTF-16 text, not as
# bytes (the programs write no file but standard output).
expect_console_writes() {
  watched_story "$CASE_DIR" | grep -q '^WriteConsoleW(' || fail "nothing was written with WriteConsoleW"
  expect_absent '^WriteFile\(' "standard output is a console, yet WriteFile wrote to it"
}

# expect_terminal_usage: the terminal showed the usage lines (the banner line may wrap
# on the screen: only the usage block is compared).
expect_terminal_usage() {
  printf '%s\n' "${USAGE[@]}" >"$CASE_DIR/out.expected"
  [[ $(terminal_text) == *$'\n'"$(cat "$CASE_DIR/out.expected")"* ]] ||
    fail "the terminal did not show the usage lines (see out.bin)"
  expect_console_writes
}

# expect_skeleton LINE...: the run's main calls, in order, are exactly these.
expect_skeleton() {
  watched_story "$CASE_DIR" | grep -E "$SKELETON" | sed -E 's/^(ExitWindowsEx|SetSystemPowerState)(\([^)]*\)).*/\1\2/' \
    >"$CASE_DIR/skeleton"
  if [ $# -eq 0 ]; then : >"$CASE_DIR/skeleton.expected"; else printf '%s\n' "$@" >"$CASE_DIR/skeleton.expected"; fi
  if ! cmp -s "$CASE_DIR/skeleton.expected" "$CASE_DIR/skeleton"; then
    fail "calls differ (expected - , seen +):"
    fail "$(diff "$CASE_DIR/skeleton.expected" "$CASE_DIR/skeleton" | grep '^[<>]' | sed 's/^</-/; s/^>/+/' | head -n 12)"
  fi
}

# expect_in_order LINE...: these calls appear in this order (others may come between).
expect_in_order() {
  local missing
  missing=$(watched_story "$CASE_DIR" | awk -v want="$(printf '%s\n' "$@")" '
    BEGIN { n = split(want, w, "\n"); i = 1 }
    i <= n && $0 == w[i] { i++ }
    END { if (i <= n) print w[i] }')
  [ -z "$missing" ] || fail "missing, or out of order: $missing"
}

expect_absent() {  # expect_absent REGEX WHY
  if watched_story "$CASE_DIR" | grep -Eq "$1"; then
    fail "$2: $(watched_story "$CASE_DIR" | grep -E "$1" | head -n 1)"
  fi
}

# expect_messages LPARAM...: the watcher received exactly these SC_MONITORPOWER commands.
expect_messages() {
  local seen
  seen=$(watched_messages "$CASE_DIR" | awk '{ printf "%s%s", (NR > 1 ? " " : ""), ($1 == "0xF170" ? $2 : $1 "/" $2) }')
  [ -f "$CASE_DIR/watch.failed" ] && fail "the watcher did not start"
  [ "$seen" = "$*" ] || fail "the Progman window received [${seen}], expected [$*]"
}

# expect_wait MSEC [POLLS]: the display power-off came MSEC after the wait began: not before
# MSEC had passed since the program started, and within the slack of the first poll.
expect_wait() {
  local want=$1 polls=${2:-} start poll first
  start=$(awk '$2 == "start" { print $1; exit }' "$CASE_DIR/events")
  poll=$(awk '$2 == "Sleep(1)" { print $1; exit }' "$CASE_DIR/events")
  first=$(watched_messages "$CASE_DIR" | awk 'NR == 1 { print $3 }')
  if [ -z "$start" ] || [ -z "$poll" ] || [ -z "$first" ]; then
    fail "wait: cannot measure (start ${start:-?}, first poll ${poll:-?}, first message ${first:-?})"
    return
  fi
  echo "wait: $((first - poll)) ms after the first poll, $((first - start)) ms after the start" >"$CASE_DIR/wait"
  [ $((first - start)) -ge "$want" ] || fail "display off $((first - start)) ms after the start: the wait is $want ms"
  # The tick read before the first poll may be a tick older than the poll's own time.
  [ $((first - poll)) -ge $((want - 2)) ] && [ $((first - poll)) -le $((want + WAIT_SLACK_MS)) ] ||
    fail "display off $((first - poll)) ms after the wait began: the wait is $want ms"
  if [ -n "$polls" ]; then
    local n
    n=$(grep -c ' Sleep(1)$' "$CASE_DIR/events")
    [ "$n" = "$polls" ] || fail "the wait polled $n times, expected $polls"
  fi
}

expect_says() {  # expect_says REGEX: what scripts/run would tell the user
  local said
  said=$(watched_describe "$CASE_DIR")
  echo "$said" >"$CASE_DIR/described"
  printf '%s\n' "$said" | grep -Eq "$1" || fail "described as \"$said\""
}

# ---- the command line and the run sequence (endpoint path) -----------------------------

# sequence name= args= [version=win7] [sound=yes|none] [banner=yes|terminal] [mute=on|off|error]
#          [wait=MSEC] [polls=N] [lock=yes] [says=REGEX]
# Without wait= the display is left alone; banner=terminal runs on a pseudo-terminal.
sequence() {
  local -A f=([args]="" [version]=win7 [sound]=yes [banner]=no [mute]=none [wait]=- [polls]="" [lock]=no [says]="")
  fields "$@"
  selected "${f[name]}" || return 0
  local -a argv expected=()
  row_args "${f[args]}"
  case_begin "${f[name]}"
  wine_set_version "${f[version]}"
  local terminal=""
  [ "${f[banner]}" = terminal ] && terminal=yes
  WATCHED_TERMINAL=$terminal watched_run "$CASE_DIR" "${f[sound]}" "" /dev/null "${argv[@]}"

  expect_status_0
  case ${f[mute]} in
    on | off)
      local state=1
      [ "${f[mute]}" = off ] && state=0
      expected+=("CoInitialize(0) = 0" "IAudioEndpointVolume::SetMute($state,$GUID_NULL)" "CoUninitialize()")
      expect_endpoint "$state"
      ;;
    error)
      expected+=("CoInitialize(0) = 0" "CoUninitialize()")
      expect_endpoint none
      ;;
  esac
  if [ "${f[wait]}" != - ]; then
    expected+=("${DISPLAY_OFF[@]}")
    expect_messages 1 2
    expect_wait "${f[wait]}" "${f[polls]}"
  else
    expect_messages
  fi
  [ "${f[lock]}" = yes ] && expected+=("LockWorkStation() = 0")
  expect_skeleton "${expected[@]}"
  if [ "${f[banner]}" = yes ]; then
    expect_banner
  elif [ "${f[banner]}" = terminal ]; then
    expect_terminal_usage
  elif [ "${f[mute]}" = error ]; then
    expect_output "SetMuteError"
  else
    expect_output
  fi
  [ -n "${f[says]}" ] && expect_says "${f[says]}"
  case_end
}

# The endpoint mute in detail: the objects asked for, with what, and everything released
# before COM is left. STATE is 1 (mute), 0 (unmute) or none (no default endpoint).
expect_endpoint() {
  local state=$1
  expect_in_order \
    "CoInitialize(0) = 0" \
    "CoCreateInstance(*,0,5,*,*) = 0" \
    "mmdevapi.DllGetClassObject($CLSID_ENUMERATOR)" \
    "mmdevapi.CreateInstance($IID_UNKNOWN)" \
    "IMMDeviceEnumerator::QueryInterface($IID_ENUMERATOR)" \
    "IMMDeviceEnumerator::GetDefaultAudioEndpoint(0,0)"
  if [ "$state" = none ]; then
    expect_absent '^IMMDevice::Activate' "no endpoint, yet one was activated"
    expect_absent '^IAudioEndpointVolume::' "no endpoint, yet its volume was used"
    # The enumerator is a singleton in Wine: its own reference stays.
    expect_in_order "IMMDeviceEnumerator::GetDefaultAudioEndpoint(0,0)" "IMMDeviceEnumerator::Release() = 1" "CoUninitialize()"
  else
    expect_in_order \
      "IMMDeviceEnumerator::GetDefaultAudioEndpoint(0,0)" \
      "IMMDevice::Activate($IID_ENDPOINT_VOLUME,7,0) = 0" \
      "IAudioEndpointVolume::SetMute($state,$GUID_NULL)" \
      "IAudioEndpointVolume::Release() = 0" \
      "CoUninitialize()"
    expect_in_order "IMMDevice::Activate($IID_ENDPOINT_VOLUME,7,0) = 0" "IMMDevice::Release() = 0" "CoUninitialize()"
    expect_in_order "IMMDevice::Activate($IID_ENDPOINT_VOLUME,7,0) = 0" "IMMDeviceEnumerator::Release() = 1" "CoUninitialize()"
    [ "$(watched_story "$CASE_DIR" | grep -c '^IAudioEndpointVolume::SetMute')" = 1 ] || fail "SetMute is to be called once"
  fi
}

sequence_cases() {
  sequence name='no arguments: banner, 300 ms, display off' args='' banner=yes wait=300
  sequence name='no arguments on a terminal: usage shown, as UTF-16' args='' banner=terminal wait=300
  sequence name='1000: display off after 1000 ms' args='1000' wait=1000
  sequence name='-MuteOn: matched without case, then 300 ms' args='-MuteOn' mute=on wait=300 \
    says='^default endpoint muted; waited [0-9]+ ms; display: low power, then off$'
  sequence name='-muteon 500: only argument 1 is the wait' args='-muteon 500' mute=on wait=300
  sequence name='500 -muteoff -withlock: nothing after the unmute' args='500 -muteoff -withlock' mute=off \
    says='^default endpoint unmuted; display left on$'
  sequence name='500 -muteon -muteoff: the last mute option wins' args='500 -muteon -muteoff' mute=off
  sequence name='500 -withlock: lock after both posts' args='500 -withlock' wait=500 lock=yes \
    says='^waited [0-9]+ ms; display: low power, then off; workstation lock requested'
  sequence name='500 -xyz: nothing happens' args='500 -xyz'
  sequence name='$1F4 waits 500 ms' args='$1F4' wait=500
  sequence name='0x1f4 waits 500 ms' args='0x1f4' wait=500
  sequence name='12abc is no number: 300 ms' args='12abc' wait=300
  sequence name='-5 ends the wait at its first poll' args='-5' wait=0 polls=1
  sequence name='/muteon is not an option' args='/muteon' wait=300
  sequence name='--muteon is not an option' args='--muteon' wait=300
  sequence name='-mute is not an option' args='-mute' wait=300
  sequence name='an empty first argument is skipped' args='<empty> 500' wait=500
  sequence name='no sound card: SetMuteError, then the display' args='-muteon' sound=none mute=error wait=300 \
    says='^no default endpoint, nothing muted; waited'
  sequence name='no sound card, unmute: SetMuteError only' args='-muteoff' sound=none mute=error
}

# ---- the endpoint enumerator unavailable: the exception report waits for a line --------

enumerator_unavailable() {
  local name='enumerator class unavailable: report, then waits for Enter'
  selected "$name" || return 0
  case_begin "$name"
  wine_set_version win7
  local dir=$CASE_DIR fd
  mkfifo "$dir/stdin"
  exec {fd}<>"$dir/stdin"
  watched_begin "$dir"
  watched_start "$dir" yes "mmdevapi=d" "$dir/stdin" -muteon
  local i
  for i in $(seq 100); do
    grep -q 'Press any key' "$dir/out.bin" 2>/dev/null && break
    kill -0 "$WATCHED_PID" 2>/dev/null || break
    sleep 0.05
  done
  sleep 1
  kill -0 "$WATCHED_PID" 2>/dev/null || fail "the program ended without waiting for a line of input"
  echo >&"$fd"
  exec {fd}>&-
  watched_finish "$dir" 15
  watched_end "$dir"

  expect_status_0
  local first
  first=$(head -n 1 "$dir/out.bin")
  printf '%s\n' "$first" | grep -Eq $'^EOleSysError: [^,]+, ClassID: \\{BCDE0395-E52F-467C-8E3D-C4579291692E\\}\r$' ||
    fail "report line: \"$first\""
  [ "$(sed -n 2p "$dir/out.bin")" = $'Press any key to continue.\r' ] || fail "line 2 is not \"Press any key to continue.\""
  [ "$(tr -cd '\n' <"$dir/out.bin" | wc -c)" = 2 ] || fail "expected exactly two lines of output"
  # COM is left on the way out of the failed step, before the report is shown.
  expect_skeleton "CoInitialize(0) = 0" "CoUninitialize()"
  watched_story "$dir" | grep -q '^CoCreateInstance(\*,0,5,\*,\*) = 0x8' || fail "CoCreateInstance did not fail"
  expect_messages
  case_end
}

# ---- the mixer path (major version 5) -------------------------------------------------

# mixer name= args= state=1|0 [sound=yes|none] [wait=MSEC] [says=REGEX]
mixer() {
  local -A f=([sound]=yes [wait]=- [says]="")
  fields "$@"
  selected "${f[name]}" || return 0
  local -a argv
  row_args "${f[args]}"
  case_begin "${f[name]}"
  wine_set_version winxp
  watched_run "$CASE_DIR" "${f[sound]}" "" /dev/null "${argv[@]}"

  expect_status_0
  expect_output
  expect_absent '^(CoCreateInstance|IAudioEndpointVolume)' "the endpoint path was taken on version 5"
  local problems
  problems=$(watched_story "$CASE_DIR" | awk -v state="${f[state]}" -v sound="${f[sound]}" '
    function bad(m) { print m; errors++ }
    /^mixerGetNumDevs\(\)/ { devices = $NF + 0; next }
    /^mixerOpen\(/ {
      # mixerOpen(*,device,callback,instance,flags) = result
      split(substr($1, 11), a, ",")
      if (a[2] + 0 != opened + 0) bad("device " opened " not opened in turn: " $0)
      if (a[3] == "0" || a[5] != "0x10000)") bad("not opened with CALLBACK_WINDOW and a window: " $0)
      if ($NF != "0") bad("open failed: " $0)
      opened++; order = order "O"; next
    }
    /^mixer(GetControlDetailsW|SetControlDetails)\(/ {
      h = substr($1, index($1, "(") + 1); sub(/,.*/, "", h)
      c = $2
      if ($NF != "0") bad("failed: " $0)
      if (closed) bad("used after a close: " $0)
      if ($1 ~ /^mixerGet/) { order = order "G"; lastget = h " " c; used[h] = 1 }
      else { order = order "S"; if (h " " c != lastget) bad("written without reading it first: " $0) }
      next
    }
    /^mixerClose\(/ {
      h = substr($1, 12); sub(/\).*/, "", h)
      if ($NF != "0") bad("close failed: " $0)
      closedset[h] = 1; closed++; order = order "C"; next
    }
    /^(Sleep|FindWindowW|PostMessageW)\(/ { if (!after) after = $1; next }
    END {
      for (h in used) if (!(h in closedset)) bad("device " h " not closed")
      if (sound == "none") {
        if (devices != 0 || order != "") bad("no sound card, yet mixer devices were used: " order)
      } else {
        if (devices == 0) bad("no mixer devices seen (is PulseAudio running?)")
        # Wine: each device has one destination and one source, both with a mute control.
        want = ""
        for (i = 0; i < devices; i++) want = want "O"
        for (i = 0; i < 2 * devices; i++) want = want (state == 1 ? "GS" : "G")
        for (i = 0; i < devices; i++) want = want "C"
        if (order != want) bad("mixer calls (O open, G read, S write, C close): " order ", expected " want)
      }
    }')
  [ -z "$problems" ] || fail "$problems"
  if [ "${f[wait]}" != - ]; then
    expect_messages 1 2
    expect_wait "${f[wait]}"
    local -a tail_calls=("${DISPLAY_OFF[@]}")
    expect_in_order "${tail_calls[@]}"
    expect_absent '^LockWorkStation' "locked without -withlock"
  else
    expect_messages
    expect_absent '^(Sleep|FindWindowW|PostMessageW|LockWorkStation)\(' "acted after the unmute"
  fi
  [ -n "${f[says]}" ] && expect_says "${f[says]}"
  case_end
}

mixer_cases() {
  mixer name='mixer path: -muteon sets every mute, then the display' args='-muteon' state=1 wait=300 \
    says='^mixer: 4 device\(s\) opened, 8 line mute\(s\) read, 8 changed; waited'
  mixer name='mixer path: -muteoff reads every mute, nothing after' args='-muteoff' state=0
  mixer name='mixer path, no sound card: nothing set, display still off' args='-muteon' state=1 sound=none wait=300 \
    says='^mixer: no devices, nothing muted; waited'
}

# ---- the mixer inspector ---------------------------------------------------------------

# mixinspect.exe on the virtual sound card: Wine's four mixer devices (render and capture
# of the card and of its monitor), each with a destination and a source, every line with
# a Volume and a Mute control. Values and handles vary; the shape does not.
inspector_case() {
  local name='mixinspect: four devices, their lines, Volume and Mute controls'
  selected "$name" || return 0
  case_begin "$name"
  local inspect="$build/mixinspect.exe"
  if [ ! -f "$inspect" ]; then
    fail "missing $inspect"
    case_end
    return 0
  fi
  wine_set_version winxp
  WATCHED_NOWATCH=yes WATCHED_EXE=$inspect WATCHED_TRACE=-all watched_run "$CASE_DIR" yes "" /dev/null
  local out="$CASE_DIR/out.bin" status text
  status=$(cat "$CASE_DIR/status" 2>/dev/null)
  [ -f "$CASE_DIR/killed" ] && fail "mixinspect did not end: $(cat "$CASE_DIR/killed")"
  [ "$status" = 0 ] || fail "exit status ${status:-?}, expected 0"
  [ "$(tr -cd '\n' <"$out" | wc -c)" = "$(grep -c $'[^\r]\r$' "$out")" ] || fail "a line not ended by exactly one CR LF"
  text=$(tr -d '\r' <"$out")
  lines() { grep -cE "$1" <<<"$text"; }
  [ "$(head -n 1 <<<"$text")" = 'Mixer devices: 4' ] || fail "first line: \"$(head -n 1 <<<"$text")\""
  [ "$(lines '^Device [0-3]: "[^"]+", handle 0x[0-9A-F]+, 2 lines$')" = 4 ] || fail "expected four devices of two lines"
  [ "$(lines '^  (Speakers|WaveIn) line ".*destination 0,')" = 4 ] || fail "expected four destinations"
  [ "$(lines '^  (WaveOut|Microphone) line ".*source of destination 0 ')" = 4 ] || fail "expected four sources"
  [ "$(lines '^    Volume: [0-9]+%')" = 8 ] || fail "expected a volume on each of the eight lines"
  [ "$(lines '^    Mute: (on|off)$')" = 8 ] || fail "expected a mute state on each of the eight lines"
  [ "$(lines '^    Volume control "Volume" .*, range 0\.\.65535, ')" = 8 ] || fail "expected eight Volume controls of 0..65535"
  [ "$(lines '^    Mute control "Mute" .*, status uniform, ')" = 8 ] || fail "expected eight uniform Mute controls"
  grep -q 'unreadable' <<<"$text" && fail "a value could not be read: $(grep -m1 unreadable <<<"$text")"
  case_end
}

# mixinspect.exe on a terminal: the sound card's name, which is not ASCII, reaches the
# screen as it is.
inspector_terminal_case() {
  local name='mixinspect on a terminal: a non-ASCII card name shown intact'
  selected "$name" || return 0
  case_begin "$name"
  local inspect="$build/mixinspect.exe" shown
  wine_set_version winxp
  WATCHED_NOWATCH=yes WATCHED_TERMINAL=yes WATCHED_EXE=$inspect watched_run "$CASE_DIR" yes "" /dev/null
  expect_status_0
  shown=$(terminal_text)
  grep -q '^Device 1: "Динамики", ' <<<"$shown" || fail "the card shown as: $(grep -m1 '^Device 1:' <<<"$shown")"
  grep -q '^Device 3: "Monitor of Динамики", ' <<<"$shown" || fail "its monitor shown as: $(grep -m1 '^Device 3:' <<<"$shown")"
  expect_console_writes
  case_end
}

# ---- planted DLLs: a program's own folder is never searched for a system DLL ------------

# planted name= program= args= version= [hidden=EXPORTS]: a copy of the program in a folder
# of its own with the marker DLL under each planted name and a manifest naming them, and
# native DLLs preferred for those names. None may be loaded (no marker file), and each is
# loaded, if at all, from the system folder. With hidden, the program's test copy sees
# kernel32 without those exports (Windows 2000 to 7 without the loader update): it must
# leave audio out with one line, and a mute still turn the display off.
planted() {
  local -A f=([args]="" [hidden]="")
  fields "$@"
  selected "${f[name]}" || return 0
  local -a argv
  row_args "${f[args]}"
  case_begin "${f[name]}"
  local built="$build/${f[program]}" dll="$build/planted_marker.dll" file
  [ -n "${f[hidden]}" ] && built="$build/${f[program]%.exe}-preupdate.exe"
  for file in "$built" "$dll"; do
    [ -f "$file" ] || fail "missing $file"
  done
  if [ ${#CASE_FAILS[@]} -gt 0 ]; then
    case_end
    return 0
  fi
  local folder="$CASE_DIR/Downloads" marker="$CASE_DIR/marker.txt" nowatch="" loads
  plant "$folder" "$built" "${f[program]}" "$dll"
  plant_manifest "$folder" "${f[program]}"
  [ "${f[program]}" = Lullscreen.exe ] || nowatch=yes
  wine_set_version "${f[version]}"
  # A planted DLL lacks the real one's exports: a call to one ends the program at once,
  # not in a debugger that waits.
  LULLSCREEN_MARKER=$(windows_path "$marker") LULLSCREEN_HIDDEN_EXPORTS=${f[hidden]} WATCHED_NOWATCH=$nowatch \
    WATCHED_EXE="$folder/${f[program]}" WATCHED_EXE_SIZE=$(pe_image_size "$built") \
    watched_run "$CASE_DIR" yes "$PLANTED_OVERRIDES;winedbg.exe=d" /dev/null "${argv[@]}"

  expect_status_0
  loads=$(planted_loads "$marker")
  [ -z "$loads" ] || fail "planted DLL(s) loaded (marker.txt): $loads"
  # Every load of the run's processes, as the loader traced it: a planted name from
  # anywhere but the system folder, or anything but the program from the program's folder.
  # (The folder goes through the environment: awk -v would take its backslashes as escapes.)
  local wrong
  wrong=$(folder="$(windows_path "$folder")\\" awk -v planted="$PLANTED" -v program="${f[program]}" '
    BEGIN { n = split(tolower(planted), p, " "); for (i = 1; i <= n; i++) name[p[i]] = 1
            folder = tolower(ENVIRON["folder"]); program = tolower(program) }
    /:trace:loaddll:.* Loaded L"/ {
      path = $0; sub(/^[^"]*"/, "", path); how = path; sub(/".*/, "", path); sub(/.*: /, "", how)
      gsub(/\\\\/, "\\", path); file = path; sub(/.*\\/, "", file)
      dir = substr(path, 1, length(path) - length(file)); low = tolower(dir)
      if (low == folder) dir = "the program\047s folder"
      if ((tolower(file) in name && low != "c:\\windows\\system32\\") || (low == folder && tolower(file) != program))
        print file " from " dir " (" how ")"
    }' "$CASE_DIR/trace.log" | sort -u)
  [ -z "$wrong" ] || fail "loaded from the wrong folder:" "$wrong"
  if [ -n "${f[hidden]}" ]; then
    local what="mute" said
    [ "${f[program]}" = Lullscreen.exe ] || what="mixer interface"
    said=$(tr -d '\r' <"$CASE_DIR/out.bin")
    [[ $said == "The $what is left out: $(windows_path "$folder")\\"*" has the name of a system DLL, and this Windows would load it in place of the system's." ]] ||
      fail "expected one line saying which file left the $what out, got: $said"
    expect_absent 'mixer[A-Z]|CoCreateInstance|SetMute' "audio was reached all the same"
  fi
  [[ ${f[program]} == Lullscreen.exe && ${f[args]} == *-muteon* ]] && expect_messages 1 2
  case_end
}

planted_cases() {
  local no_update=SetDefaultDllDirectories neither="SetDefaultDllDirectories;SetDllDirectoryW"
  planted name='planted DLLs: 0 -muteon, mixer path' program=Lullscreen.exe args='0 -muteon' version=winxp
  planted name='planted DLLs: 0 -muteoff, mixer path' program=Lullscreen.exe args='0 -muteoff' version=winxp
  planted name='planted DLLs: 0 -muteon, endpoint path' program=Lullscreen.exe args='0 -muteon' version=win10
  planted name='planted DLLs: 0 -muteoff, endpoint path' program=Lullscreen.exe args='0 -muteoff' version=win10
  planted name='planted DLLs: mixinspect, mixer path' program=mixinspect.exe version=winxp
  planted name='planted DLLs, no loader update: 0 -muteon, mixer path' program=Lullscreen.exe args='0 -muteon' \
    version=winxp hidden=$no_update
  planted name='planted DLLs, no loader update: 0 -muteon, endpoint path' program=Lullscreen.exe args='0 -muteon' \
    version=win7 hidden=$no_update
  planted name='planted DLLs, Windows 2000 loader: 0 -muteoff' program=Lullscreen.exe args='0 -muteoff' \
    version=win2k hidden=$neither
  planted name='planted DLLs, no loader update: mixinspect' program=mixinspect.exe version=winxp hidden=$no_update
}

# ---- power actions (last: an exit request ends the Wine session) ------------------------

# power name= args= call=CALL: the privilege switched on, the one power call, switched off.
power() {
  local -A f=()
  fields "$@"
  selected "${f[name]}" || return 0
  local -a argv
  row_args "${f[args]}"
  case_begin "${f[name]}"
  # An exit request ends the Wine session, the watcher with it: those runs go without it
  # (the trace shows that nothing is posted). Wine then ends every process of the session
  # and, for a reboot, starts a new one; a new server makes sure none of that reaches the
  # next case.
  local nowatch=""
  [[ ${f[call]} == ExitWindowsEx* ]] && nowatch=yes
  WATCHED_NOWATCH=$nowatch watched_run "$CASE_DIR" yes "" /dev/null "${argv[@]}"
  [ -n "$nowatch" ] && wine_server_start "$WINE_SERVER_LOG"

  expect_status_0
  expect_output
  expect_messages
  local -a privilege=(
    'OpenProcessToken(0xffffffff,0x28,*) = 1'
    'LookupPrivilegeValueW(0,L"SeShutdownPrivilege",*) = 1'
    'AdjustTokenPrivileges(*,0,*,0x10,*,*) = 1'
    'CloseHandle(*) = 1'
  )
  local -a expected=("${privilege[@]}" "${f[call]}")
  # Wine may end the process inside the exit request; where it returns, the privilege
  # goes off again.
  local survived=yes
  grep -q "${f[call]%%(*}(.*(no return)" "$CASE_DIR/events" && survived=no
  [ $survived = yes ] && expected+=("${privilege[@]}")
  expect_skeleton "${expected[@]}"

  local tid switched want="open 0x28; adjust 0x13 2; close;"
  [ $survived = yes ] && want="$want open 0x28; adjust 0x13 0; close;"
  tid=$(awk '$2 == "start" { print $5; exit }' "$CASE_DIR/events")
  switched=$(awk -v tid="$tid" '
    index($0, tid ": ") != 1 { next }
    $2 == "open_token()" && opening { t = $0; sub(/.*token=/, "", t); sub(/ .*/, "", t); token = t
                                     printf "open 0x%s; ", a; opening = 0; next }
    $2 ~ /^open_token\(/ { a = $0; sub(/.*access=/, "", a); sub(/,.*/, "", a); sub(/^0+/, "", a); opening = 1; next }
    $2 ~ /^adjust_token_privileges\(/ && index($0, "handle=" token ",") {
      p = $0; sub(/.*privileges=\{\{luid=/, "", p); l = p; sub(/,.*/, "", l); sub(/^0+/, "", l)
      sub(/.*attrs=/, "", p); sub(/\}.*/, "", p); printf "adjust 0x%s %s; ", l, p; next }
    $2 ~ /^close_handle\(/ && token != "" && index($0, "handle=" token " ") { printf "close; "; token = ""; next }
  ' "$CASE_DIR/server.log")
  [ "${switched% }" = "$want" ] || fail "shutdown privilege: [${switched% }], expected [$want]"
  [ -n "${f[says]:-}" ] && expect_says "${f[says]}"
  case_end
}

power_cases() {
  wine_set_version win7
  power name='-suspend: SetSystemPowerState(1,1)' args='-suspend' call='SetSystemPowerState(1,1)' \
    says='^suspend requested$'
  power name='-hibernate: SetSystemPowerState(0,1)' args='-hibernate' call='SetSystemPowerState(0,1)'
  power name='-reboot: ExitWindowsEx(0xE,0)' args='-reboot' call='ExitWindowsEx(0xe,0)' \
    says='^reboot requested'
  power name='-shutdown: ExitWindowsEx(0xD,0)' args='-shutdown' call='ExitWindowsEx(0xd,0)'
  power name='-reboot -shutdown: the first power option wins' args='-reboot -shutdown' call='ExitWindowsEx(0xe,0)'
  power name='-withlock -reboot: only the reboot' args='-withlock -reboot' call='ExitWindowsEx(0xe,0)'
  power name='-muteon -reboot: only the reboot' args='-muteon -reboot' call='ExitWindowsEx(0xe,0)'
}

# ---- winmm that cannot be loaded: a system without mixer devices ----------------------

winmm_unavailable_cases() {
  local name='winmm unavailable: -muteon mutes nothing, then the display'
  if selected "$name"; then
    case_begin "$name"
    wine_set_version winxp
    watched_run "$CASE_DIR" yes "winmm=d" /dev/null -muteon
    expect_status_0
    expect_output
    expect_absent '^mixer' "a mixer function was reached without winmm"
    expect_messages 1 2
    case_end
  fi
  name='winmm unavailable: mixinspect says so'
  if selected "$name"; then
    case_begin "$name"
    WATCHED_NOWATCH=yes WATCHED_EXE="$build/mixinspect.exe" WATCHED_TRACE=-all watched_run "$CASE_DIR" yes "winmm=d" /dev/null
    [ "$(cat "$CASE_DIR/status" 2>/dev/null)" = 0 ] || fail "exit status $(cat "$CASE_DIR/status" 2>/dev/null), expected 0"
    expect_output "The mixer interface is unavailable: winmm.dll could not be loaded from the system folder."
    case_end
  fi
}

run_cases() {
  case_pattern=$1
  CASE_NUMBER=0
  sequence_cases
  enumerator_unavailable
  mixer_cases
  inspector_case
  inspector_terminal_case
  planted_cases
  winmm_unavailable_cases
  power_cases
}
