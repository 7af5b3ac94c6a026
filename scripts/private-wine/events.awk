# Turns Wine's debug output of one run into the program's own platform calls, one per line:
#
#   <ms> <call>[ = <result>]
#
# Input: the program's standard error with WINEDEBUG=+relay,+timestamp,+pid,+loaddll and the
# mmdevapi/winmm trace channels. Other Wine processes started by the run (services, the
# session ending after an exit request) write to the same file, so only lines of the
# program's process count; its id is taken from the loader's line for the program's image.
# Of the relayed calls only those made from the program's image are kept: the system DLLs
# call each other too (winmm uses COM internally, for one).
#
# Variables: exe (file name of the program), size (its image size, decimal),
# hwnd (the watcher's window handle as 8 lower-case hex digits, or empty).
# Written for POSIX awk (mawk): no interval expressions, no gawk extensions.

function hex(s,   i, c, v) {
  v = 0
  s = tolower(s)
  for (i = 1; i <= length(s); i++) {
    c = index("0123456789abcdef", substr(s, i, 1))
    if (c == 0) return -1
    v = v * 16 + c - 1
  }
  return v
}

# A 32-bit word as the trace prints it ("0000f170") in a compact form: 0..9 as they are,
# larger values as "0x..."; the watcher's window as "progman".
function word(s,   v) {
  s = tolower(s)
  # A 64-bit build's trace prints whole registers; the values are 32-bit words.
  if (length(s) > 8) s = substr(s, length(s) - 7)
  if (hwnd != "" && s == hwnd) return "progman"
  v = s
  sub(/^0+/, "", v)
  if (v == "") return "0"
  if (length(v) == 1 && v ~ /^[0-9]$/) return v
  return "0x" v
}

function ms(stamp,   dot) {
  dot = index(stamp, ".")
  return substr(stamp, 1, dot - 1) * 1000 + substr(stamp, dot + 1)
}

function add(t, text) {
  n++
  when[n] = t
  line[n] = text
  return n
}

function braced(s) {  # the first {...} in s
  if (match(s, /\{[0-9a-fA-F-]+\}/)) return substr(s, RSTART, RLENGTH)
  return "?"
}

BEGIN {
  pid = ""
  n = 0
  # Arguments that are pointers or handles of the moment: shown as "*" so that runs compare.
  masked["OpenProcessToken"] = " 3 "
  masked["LookupPrivilegeValueW"] = " 3 "
  masked["AdjustTokenPrivileges"] = " 1 3 5 6 "
  masked["CloseHandle"] = " 1 "
  masked["CoCreateInstance"] = " 1 4 5 "
  masked["mixerGetDevCapsW"] = " 2 "
  masked["mixerOpen"] = " 1 "
  masked["mixerGetLineInfoW"] = " 2 "
  masked["mixerGetLineControlsW"] = " 2 "
  masked["mixerGetControlDetailsW"] = " 2 "
  masked["mixerSetControlDetails"] = " 2 "
  masked["WriteFile"] = " 2 4 "
  masked["WriteConsoleW"] = " 2 4 "
  # Functions without a result.
  void["Sleep"] = 1
  void["CoUninitialize"] = 1
  ex = "\\\\" tolower(exe) "\" at "
}

{
  if (!match($0, /^[0-9]+\.[0-9]+:[0-9a-f]+:[0-9a-f]+:/)) next
  split(substr($0, 1, RLENGTH), head, ":")
  rest = substr($0, RLENGTH + 1)
  t = ms(head[1])

  if (pid == "") {
    if (rest ~ /^trace:loaddll:/ && (at = index(tolower(rest), ex)) > 0) {
      pid = head[2]
      addr = substr(rest, at + length(ex))
      match(addr, /^[0-9a-f]+/)
      base = hex(substr(addr, 1, RLENGTH))
      limit = base + size
      print t " start " exe " " pid " " head[3]
    }
    next
  }
  if (head[2] != pid) next
  tid = head[3]

  if (rest ~ /^Call [A-Za-z0-9_]+\.[A-Za-z0-9_]+\(.* ret=[0-9a-f]+$/) {
    match(rest, /ret=[0-9a-f]+$/)
    r = hex(substr(rest, RSTART + 4))
    if (r < base || r >= limit) next
    open = index(rest, "(")
    name = substr(rest, 6, open - 6)
    sub(/^[^.]*\./, "", name)
    args = substr(rest, open + 1)
    sub(/\) ret=[0-9a-f]+$/, "", args)
    count = split(args, a, ",")
    text = ""
    for (i = 1; i <= count; i++) {
      v = a[i]
      if (index(masked[name], " " i " ")) v = "*"
      else if (v ~ /^[0-9a-f]+ L"/) sub(/^[0-9a-f]+ /, "", v)
      else if (v ~ /^[0-9a-f]+$/) v = word(v)
      text = text (i > 1 ? "," : "") v
    }
    k = add(t, name "(" text ")")
    # The program closes only the tokens it opens; the C runtime's start-up
    # closes handles of its own, which are no part of what the program does.
    if (name == "OpenProcessToken") tokens++
    if (name == "CloseHandle") { if (tokens > 0) tokens--; else hidden[k] = 1 }
    depth[tid]++
    stack[tid, depth[tid]] = k
    callee[k] = name
    next
  }
  if (rest ~ /^Ret  [A-Za-z0-9_]+\.[A-Za-z0-9_]+\(\) retval=[0-9a-f]+ ret=[0-9a-f]+$/) {
    match(rest, /ret=[0-9a-f]+$/)
    r = hex(substr(rest, RSTART + 4))
    if (r < base || r >= limit || depth[tid] == 0) next
    k = stack[tid, depth[tid]]
    depth[tid]--
    if (!(callee[k] in void)) {
      match(rest, /retval=[0-9a-f]+/)
      result[k] = word(substr(rest, RSTART + 7, RLENGTH - 7))
    }
    returned[k] = 1
    next
  }

  # The mixer driver names the control of each detail call.
  if (rest ~ /^trace:winmm:mixer(Get|Set)ControlDetailsW? dwControlID: /) {
    if (depth[tid] > 0) {
      k = stack[tid, depth[tid]]
      sub(/.*dwControlID: /, "", rest)
      line[k] = line[k] " control=" rest
    }
    next
  }

  if (rest !~ /^trace:mmdevapi:/) next
  sub(/^trace:mmdevapi:/, "", rest)
  # Inside a call of the program (creating the enumerator) mmdevapi builds its device list;
  # of that only the class and interface asked for matter.
  inside = depth[tid] > 0
  if (rest ~ /^DllGetClassObject /) add(t, "mmdevapi.DllGetClassObject(" braced(rest) ")")
  else if (rest ~ /^MMCF_CreateInstance /) add(t, "mmdevapi.CreateInstance(" braced(rest) ")")
  else if (inside) next
  else if (rest ~ /^MMDevEnum_QueryInterface /) add(t, "IMMDeviceEnumerator::QueryInterface(" braced(rest) ")")
  else if (rest ~ /^MMDevEnum_GetDefaultAudioEndpoint /) {
    v = rest
    sub(/^[^>]*>\(/, "", v)
    split(v, a, ",")
    add(t, "IMMDeviceEnumerator::GetDefaultAudioEndpoint(" a[1] "," a[2] ")")
  } else if (rest ~ /^MMDevice_Activate \(/) {
    v = rest
    sub(/^[^}]*\}, */, "", v)
    split(v, a, ",")
    gsub(/ /, "", a[1]); gsub(/ /, "", a[2])
    activate = add(t, "IMMDevice::Activate(" braced(rest) "," a[1] "," word(a[2]) ")")
  } else if (rest ~ /^MMDevice_Activate Returning /) {
    sub(/.*Returning /, "", rest)
    if (activate) { result[activate] = word(rest); returned[activate] = 1 }
  } else if (rest ~ /^AEV_SetMute /) {
    v = rest
    sub(/^[^>]*>\(/, "", v)
    split(v, a, ",")
    add(t, "IAudioEndpointVolume::SetMute(" a[1] "," braced(rest) ")")
  } else if (rest ~ /^AEV_Release .* new ref [0-9]+$/) {
    sub(/.* new ref /, "", rest)
    add(t, "IAudioEndpointVolume::Release() = " rest)
  } else if (rest ~ /^MMDevice_Release Refcount now [0-9]+$/) {
    sub(/.* now /, "", rest)
    add(t, "IMMDevice::Release() = " rest)
  } else if (rest ~ /^MMDevEnum_Release Refcount now [0-9]+$/) {
    sub(/.* now /, "", rest)
    add(t, "IMMDeviceEnumerator::Release() = " rest)
  }
}

END {
  for (i = 1; i <= n; i++) {
    if (i in hidden) continue
    s = line[i]
    if (i in result) s = s " = " result[i]
    else if (callee[i] != "" && !(i in returned)) s = s " (no return)"
    print when[i] " " s
  }
}
