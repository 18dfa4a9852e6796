# shellcheck shell=bash
# Sourced by every shell check and build script: its verdicts and its waits.
#   fail WHAT...          says what failed (after $fail_prefix, where the
#                         sourcing script sets one) and ends with status 1
#   check WHAT COMMAND... runs COMMAND; "ok: WHAT" when it succeeds, else fail
#   wait_for COMMAND...   runs COMMAND until it succeeds, looking every tenth
#                         of a second for up to 30 s (QUENDRIL_WAIT seconds);
#                         fails when it never does

fail() { echo "FAIL: ${fail_prefix:+$fail_prefix: }$*" >&2; exit 1; }
check() { local what=$1; shift; if "$@"; then echo "ok: $what"; else fail "$what"; fi; }

wait_for() {
  local _
  for _ in $(seq "$((${QUENDRIL_WAIT:-30} * 10))"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}
