#!/usr/bin/env bash
# One Xvfb display and one Wine prefix for all the tests that run Windows programs (one session
# per Wine the tests run under).
#   wine-session.sh STATE start              start Xvfb and a persistent wineserver
#   wine-session.sh STATE run SECONDS EXE..  run a Windows program there, killed after SECONDS
#   wine-session.sh STATE python SECONDS F.. run a Python test script there
#   wine-session.sh STATE stop               stop the wineserver and Xvfb
set -u
state="$1" action="$2"
shift 2
here="$(cd "$(dirname "$0")" && pwd)"
# PERCHLING_WINE_USERLAND=DIR: the session runs under Wine 10 instead, inside the Debian 13
# userland tests/wine10-userland.sh makes in DIR, with that userland's Xvfb, Python and xdotool.
if [ -n "${PERCHLING_WINE_USERLAND:-}" ] && [ -z "${PERCHLING_INSIDE_USERLAND:-}" ]; then
  exec "$here/wine10-userland.sh" "$PERCHLING_WINE_USERLAND" "$here/$(basename "$0")" \
    "$state" "$action" "$@"
fi
. "$here/../scripts/wine-env.sh"
wine_env "$state/prefix"

case "$action" in
  start)
    # Wine's background processes (services, the desktop) outlive the command that started them
    # and keep its output open: ctest would wait for them. They get a log file instead.
    timeout 30 wineserver -k >/dev/null 2>&1
    stop_xvfb "$state"
    start_xvfb "$state" || exit 1
    prepare_prefix >"$state/start.log" 2>&1 </dev/null
    # What earlier runs killed before they could clean up must not meet this one.
    rm -rf "$WINEPREFIX"/drive_c/users/*/Temp/perchling-test-*
    # Xvfb has no window manager: without this, Wine waits two seconds for one at every hide.
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
      >>"$state/start.log" 2>&1 </dev/null
    # The server the commands above started must be gone first: with one still running,
    # "wineserver -p" quietly exits, every test then brings up Wine's services anew, and those
    # keep the output pipe of the test's wine command open until they end.
    timeout 60 wineserver -w
    if ! wineserver -p >>"$state/start.log" 2>&1 </dev/null; then
      echo "could not start a persistent wineserver" >&2
      exit 1
    fi
    timeout 120 wine wineboot >>"$state/start.log" 2>&1 </dev/null
    echo "Wine session on $DISPLAY, prefix $WINEPREFIX"
    ;;
  run | python)
    seconds="$1"
    shift
    if [ ! -f "$state/display" ]; then
      echo "no Wine session: run the wine_session_start test first" >&2
      exit 1
    fi
    export DISPLAY="$(cat "$state/display")"
    export PERCHLING_WINE_SESSION="$state"
    # Output goes through a file for the same reason as above; tail follows it as it grows, and
    # ends once the command has ended and everything it wrote has been shown.
    log="$(mktemp "$state/run.XXXXXX")"
    if [ "$action" = run ]; then
      timeout -k 5 "$seconds" wine "$@" >"$log" 2>&1 </dev/null &
    else
      # The scripts tell this Wine's known faults by its version.
      export PERCHLING_WINE_VERSION="$(timeout 60 wine --version)"
      timeout -k 5 "$seconds" python3 -u "$@" >"$log" 2>&1 </dev/null &
    fi
    command=$!
    tail -f -s 0.1 --pid="$command" "$log"
    wait "$command"
    status=$?
    [ "$status" = 124 ] && echo "killed after $seconds seconds"
    rm -f "$log"
    exit "$status"
    ;;
  stop)
    [ -f "$state/display" ] && export DISPLAY="$(cat "$state/display")"
    timeout 30 wineserver -k 2>/dev/null
    stop_xvfb "$state"
    ;;
  *)
    echo "usage: $0 STATE start|run|python|stop" >&2
    exit 2
    ;;
esac
