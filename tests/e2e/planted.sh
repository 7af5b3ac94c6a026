# Sourced by the e2e cases and the example layer: DLLs planted beside a program.
#
# What a program started from a Downloads folder could be made to load by a file beside
# it: winmm, and what the audio code loads by name: winmm's drivers on Windows (wdmaud.drv,
# msacm32.drv, midimap.dll), msacm32, and Wine's audio drivers. (Wine's own loader takes
# imm32 and version from there for every program that imports user32: not ours to plant.)
# Wine is told to prefer them, as Windows would; WINEDLLOVERRIDES names a .dll by its base
# name and a .drv in full.
PLANTED="winmm.dll msacm32.dll wdmaud.drv midimap.dll msacm32.drv winepulse.drv winealsa.drv wineoss.drv"
PLANTED_OVERRIDES="winmm,msacm32,midimap,wdmaud.drv,msacm32.drv,winepulse.drv,winealsa.drv,wineoss.drv=n,b"

# plant FOLDER EXE NAME MARKER_DLL: a copy of EXE named NAME in FOLDER, and the marker
# DLL under every planted name beside it.
plant() {
  local file
  mkdir -p "$1"
  cp "$2" "$1/$3"
  for file in $PLANTED; do cp "$4" "$1/$file"; done
}

# plant_manifest FOLDER NAME: a NAME.manifest beside the program that redirects the planted
# DLLs to FOLDER, which the program's embedded manifest must keep the loader from reading.
plant_manifest() {
  local file
  {
    printf '<?xml version="1.0" encoding="UTF-8" standalone="yes"?>\n'
    printf '<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">\n'
    printf '  <assemblyIdentity type="win32" name="Planted" version="1.0.0.0"/>\n'
    for file in $PLANTED; do printf '  <file name="%s"/>\n' "$file"; done
    printf '</assembly>\n'
  } >"$1/$2.manifest"
}

# planted_loads MARKER: "process loaded file" for each planted DLL that ran (the marker
# DLL appends to MARKER), joined by ';'; nothing when none did.
planted_loads() {
  [ -e "$1" ] || return 0
  tr -d '\r' <"$1" | awk -F ' loaded ' '{ sub(/.*\\/, "", $1); sub(/.*\\/, "", $2); print $1 " loaded " $2 }' |
    sort -u | paste -sd ';'
}
