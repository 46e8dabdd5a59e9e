# Sourced by tools/test.sh: a private JACK server (dummy backend, no sound hardware) for the
# MIDI integration tests. A unique name per run, so a leftover server can never stand in for it.
#   start_private_jack   exports JACK_DEFAULT_SERVER, JACK_NO_START_SERVER and
#                        MONDRAL_JACK_SERVER (what the tests look for); fails if it does not come up
#   private_jack_alive   true while our own server process runs
#   stop_private_jack    stops it (safe to call twice; used by the clean-up trap)

PRIVATE_JACK_PID=""
PRIVATE_JACK_LOG=""

start_private_jack() {
  if ! command -v jackd >/dev/null || ! command -v jack_lsp >/dev/null; then
    echo "jackd/jack_lsp not found"
    return 1
  fi
  local name="mondral-$$-$(date +%s%N)"
  PRIVATE_JACK_LOG=$(mktemp)
  # --port-max keeps shared memory small; -p after "-d dummy" is the period (1024 frames:
  # smaller periods lose messages under load).
  jackd --name "$name" --no-realtime --port-max 64 -d dummy -r 48000 -p 1024 -C 0 -P 0 \
    >"$PRIVATE_JACK_LOG" 2>&1 &
  PRIVATE_JACK_PID=$!
  export JACK_DEFAULT_SERVER="$name" JACK_NO_START_SERVER=1
  local tries
  for tries in $(seq 500); do  # up to 5 s; usually ready in 0.1 s
    private_jack_alive || break
    if jack_lsp >/dev/null 2>&1 && private_jack_alive; then
      export MONDRAL_JACK_SERVER="$name"
      return 0
    fi
    sleep 0.01
  done
  echo "the JACK server did not come up; its output:"
  cat "$PRIVATE_JACK_LOG"
  stop_private_jack
  return 1
}

private_jack_alive() {
  [ -n "$PRIVATE_JACK_PID" ] && kill -0 "$PRIVATE_JACK_PID" 2>/dev/null
}

stop_private_jack() {
  if [ -n "$PRIVATE_JACK_PID" ]; then
    kill -TERM "$PRIVATE_JACK_PID" 2>/dev/null || true
    wait "$PRIVATE_JACK_PID" 2>/dev/null || true
    PRIVATE_JACK_PID=""
  fi
  [ -n "$PRIVATE_JACK_LOG" ] && rm -f "$PRIVATE_JACK_LOG"
  PRIVATE_JACK_LOG=""
  unset MONDRAL_JACK_SERVER
}
