# Sourced by the wine scripts: the project's private wine environment.
# QV_WINE_ROOT holds the prefix, a HOME of its own and the audio capture.
: "${QV_WINE_ROOT:?QV_WINE_ROOT must name the folder for the wine prefix}"
mkdir -p "$QV_WINE_ROOT/home"
QV_WINE_ROOT="$(cd "$QV_WINE_ROOT" && pwd)"  # wine wants absolute paths
export QV_WINE_ROOT
export WINEPREFIX="$QV_WINE_ROOT/prefix"
export WINEARCH=win32
export WINEDEBUG="${QV_WINEDEBUG:--all}"
# No desktop menus, and no attempt to fetch Mono or Gecko.
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
export HOME="${QV_WINE_HOME:-$QV_WINE_ROOT/home}"
export XDG_RUNTIME_DIR="${XDG_RUNTIME_DIR:-$QV_WINE_ROOT/run}"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"

# Wine's wave-out goes to ALSA's default device; write it to a file instead of
# a sound card. QV_CAPTURE names the file (default: capture.raw in HOME).
qv_write_asoundrc() {
  local capture="${QV_CAPTURE:-$HOME/capture.raw}"
  cat > "$HOME/.asoundrc" <<ASOUND
pcm.!default {
  type file
  slave.pcm "null"
  file "$capture"
  format "raw"
}
ASOUND
}
[ -f "$HOME/.asoundrc" ] && [ -z "${QV_CAPTURE:-}" ] || qv_write_asoundrc

# The first use of a prefix creates it; do that once, quietly.
qv_ensure_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot --init >/dev/null 2>&1 || true
    # A crashing test program must end with a backtrace on stderr, not wait
    # on a crash dialog nobody will close.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || true
  fi
}

# A Unix path as the Windows program sees it (wine maps Z: to /).
qv_winpath() { local p; p="$(cd "$(dirname "$1")" && pwd)/$(basename "$1")"; printf 'Z:%s' "${p//\//\\}"; }

# Runs a wine command with its output in a file (shown only on failure), so
# wine's helper processes never inherit the caller's pipes.
qv_wine_quiet() {
  local err rc=0
  err="$(mktemp)"
  wine "$@" >/dev/null 2>"$err" </dev/null || rc=$?
  [ "$rc" -eq 0 ] || cat "$err" >&2
  rm -f "$err"
  return "$rc"
}
