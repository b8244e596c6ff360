#!/bin/sh
# clipboard_manager_keeper.sh start|stop RUNNER... KEEPER: starts the keeper
# of Wine's clipboard manager and waits until it holds the manager, or lets
# it end. RUNNER is the command that runs a program under Wine.
set -u
action=$1
shift
case "$action" in
  start)
    # Apart from this test and with none of its streams: ctest waits for
    # whatever holds them, and the keeper lives until the tests end.
    setsid "$@" keep </dev/null >/dev/null 2>&1 &
    exec "$@" ready
    ;;
  stop)
    exec "$@" release
    ;;
esac
exit 2
