# What the machine saw, in plain words: reads the watcher's messages ("message
# wParam lParam tick") and the program's calls ("event TIME CALL"), as
# watched_describe (scripts/private-wine.sh) gives them, and prints one line.
$1 == "message" { lp = $3; tick = $4
                  if (!posted++) first = tick
                  screen = screen (screen == "" ? "" : ", then ") (lp == 1 ? "low power" : lp == 2 ? "off" : "state " lp)
                  next }
$3 == "start" { start = $2; next }
$3 == "Sleep(1)" { if (poll == "") poll = $2; next }
$3 ~ /^IAudioEndpointVolume::SetMute\(1,/ { mute = "default endpoint muted"; next }
$3 ~ /^IAudioEndpointVolume::SetMute\(0,/ { mute = "default endpoint unmuted"; next }
$3 ~ /^IMMDeviceEnumerator::GetDefaultAudioEndpoint/ { asked = 1; next }
$3 ~ /^mixerGetNumDevs\(\)/ { scanned = 1; next }
$3 ~ /^mixerOpen\(/ { devices++; next }
$3 ~ /^mixerGetControlDetailsW\(/ { read++; next }
$3 ~ /^mixerSetControlDetails\(/ { written++; next }
$3 ~ /^LockWorkStation\(/ { lock = "workstation lock requested (Wine does not lock)"; next }
$3 ~ /^ExitWindowsEx\(0xe,/ { power = "reboot requested (Wine ends its session)"; next }
$3 ~ /^ExitWindowsEx\(0xd,/ { power = "shutdown requested (Wine ends its session)"; next }
$3 ~ /^ExitWindowsEx\(/ { power = "exit requested: " $3; next }
$3 ~ /^SetSystemPowerState\(1,/ { power = "suspend requested"; next }
$3 ~ /^SetSystemPowerState\(0,/ { power = "hibernate requested"; next }
END {
  out = ""
  if (power != "") out = power
  if (mute == "" && asked) mute = "no default endpoint, nothing muted"
  if (mute == "" && devices) mute = "mixer: " devices " device(s) opened, " read + 0 " line mute(s) read, " written + 0 " changed"
  if (mute == "" && scanned) mute = "mixer: no devices, nothing muted"
  if (mute != "") out = out (out == "" ? "" : "; ") mute
  if (posted) {
    from = poll != "" ? poll : start
    out = out (out == "" ? "" : "; ") "waited " (first - from) " ms; display: " screen
  } else if (power == "") out = out (out == "" ? "" : "; ") "display left on"
  if (lock != "") out = out "; " lock
  print out
}
