#!/usr/bin/env bash
# One Xvfb display and one Wine prefix for all the tests that run Windows programs.
#   wine-session.sh STATE start              start Xvfb and a persistent wineserver
#   wine-session.sh STATE run SECONDS EXE..  run a Windows program there, killed after SECONDS
#   wine-session.sh STATE python SECONDS F.. run a Python test script there
#   wine-session.sh STATE stop               stop the wineserver and Xvfb
set -u
state="$1" action="$2"
shift 2
here="$(cd "$(dirname "$0")" && pwd)"
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
    # The persistent server before any other wine command: once a command has started a server
    # of its own, "wineserver -p" fails (exit code 2), the server ends a few seconds after each
    # test, and the services it restarts later can inherit a test's output pipe. So the killed
    # server and prepare_prefix's must be gone first.
    timeout 60 wineserver -w >/dev/null 2>&1
    wineserver -p >>"$state/start.log" 2>&1 </dev/null
    # Xvfb has no window manager: without this, Wine waits two seconds for one at every hide.
    timeout 60 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
      >>"$state/start.log" 2>&1 </dev/null
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
    # Output goes through a file for the same reason as above; tail follows it as it grows.
    log="$(mktemp "$state/run.XXXXXX")"
    tail -f "$log" --pid=$$ &
    if [ "$action" = run ]; then
      timeout -k 5 "$seconds" wine "$@" >"$log" 2>&1 </dev/null
    else
      timeout -k 5 "$seconds" python3 -u "$@" >"$log" 2>&1 </dev/null
    fi
    status=$?
    sleep 0.3
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
