# Shared by the run script and the test session: a Wine prefix of the project's own, on an X
# display, with the Japanese code page and fonts. Source it; it defines functions only.

# Exports the Wine environment for the prefix in $1.
wine_env() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=,winemenubuilder.exe=d"
  export WINEARCH=win64
  export LANG=ja_JP.UTF-8
  unset LC_ALL
}

# Starts Xvfb on a free display; writes its number to $1/display, its pid to $1/xvfb.pid and the
# pid's start time to $1/xvfb.start (see stop_xvfb).
# Xvfb chooses the display itself (-displayfd) and reports it once it listens, so two sessions
# starting at the same moment cannot both take one that looked free. -noreset: by default Xvfb
# starts afresh whenever its last client leaves and refuses whoever connects meanwhile; a Wine
# program opens a connection per thread, and Wine ends it with exit code 1, silently, when a
# later one is refused.
start_xvfb() {
  local state="$1" waited number="" pid
  mkdir -p "$state"
  rm -f "$state/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -br -nolisten tcp -noreset 3>"$state/xvfb.number" \
    >"$state/xvfb.log" 2>&1 &
  pid=$!
  echo "$pid" >"$state/xvfb.pid"
  process_start "$pid" >"$state/xvfb.start"
  for waited in $(seq 100); do
    number="$(head -n 1 "$state/xvfb.number" 2>/dev/null)"
    [ -n "$number" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  if [ -z "$number" ]; then
    echo "Xvfb did not start: $(cat "$state/xvfb.log")" >&2
    return 1
  fi
  echo ":$number" >"$state/display"
  export DISPLAY=":$number"
}

# The start time of process $1 in clock ticks since boot (field 22 of /proc/PID/stat, counted
# after the parenthesised command name, which may hold spaces); empty when there is no such process.
process_start() {
  local stat
  stat="$(cat "/proc/$1/stat" 2>/dev/null)" || return 0
  stat="${stat##*) }"
  echo "$stat" | cut -d' ' -f20
}

# Stops the Xvfb start_xvfb started, and only that one: after a reboot or a run killed part way
# the recorded pid may belong to another process, so it is signalled only while it is still an
# Xvfb that started at the recorded time.
stop_xvfb() {
  local state="$1" pid started command
  pid="$(cat "$state/xvfb.pid" 2>/dev/null)"
  started="$(cat "$state/xvfb.start" 2>/dev/null)"
  if [ -n "$pid" ] && [ -n "$started" ] && [ "$(process_start "$pid")" = "$started" ]; then
    command="$(tr '\0' '\n' <"/proc/$pid/cmdline" 2>/dev/null | head -n 1)"
    [ "${command##*/}" = Xvfb ] && kill "$pid" 2>/dev/null
  fi
  rm -f "$state/xvfb.pid" "$state/xvfb.start" "$state/display"
}

# Wine draws caption buttons, scroll arrows and check marks with the Marlett font it ships, but
# this Wine does not find its own fonts: the buttons showed as the letters "0 1 r". Listed among
# the system's fonts, Marlett is found. Also done for a prefix made before.
register_marlett() {
  local marlett=/usr/share/wine/fonts/marlett.ttf
  [ -f "$marlett" ] || return 0
  grep -q '"Marlett (TrueType)"' "$WINEPREFIX/system.reg" 2>/dev/null && return 0
  timeout 60 wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\Fonts' \
    /v "Marlett (TrueType)" /d "Z:${marlett//\//\\}" /f >/dev/null 2>&1
}

# Creates the prefix once (needs DISPLAY): Japanese dialog fonts mapped to the IPA Gothic fonts,
# Wine's Marlett for the window buttons, and URLs handed to a harmless command instead of a browser.
prepare_prefix() {
  [ -f "$WINEPREFIX/system.reg" ] && { register_marlett; return 0; }
  timeout 300 wine wineboot -i >/dev/null 2>&1
  local replacements='HKCU\Software\Wine\Fonts\Replacements' font
  for font in "MS UI Gothic" "ＭＳ ゴシック" "MS Shell Dlg" "MS Shell Dlg 2" "Tahoma"; do
    timeout 60 wine reg add "$replacements" /v "$font" /d "IPAGothic" /f >/dev/null 2>&1
  done
  for font in "ＭＳ Ｐゴシック" "MS PGothic"; do
    timeout 60 wine reg add "$replacements" /v "$font" /d "IPAPGothic" /f >/dev/null 2>&1
  done
  timeout 60 wine reg add 'HKCU\Software\Wine\WineBrowser' /v Browsers /d "/bin/true" /f \
    >/dev/null 2>&1
  register_marlett
  timeout 60 wineserver -w
}
