# Sourced by the quelvo-cli test scripts, after they set $prog (the folder
# holding quelvo-cli) and $tmp (a scratch folder): runs of the program and
# checks of what they gave, counted in $passed and $failed.
passed=0 failed=0
ok() { passed=$((passed + 1)); }
bad() { failed=$((failed + 1)); echo "FALHOU: $*"; }
hex() { od -An -v -tx1 "$1" | tr -d ' \n'; }

# Runs a command, keeping stdout, stderr and the exit code ($rc).
run_with() {
  "$@" >"$tmp/out" 2>"$tmp/err"
  rc=$?
}
# Runs quelvo-cli so.
run() { run_with "$prog/quelvo-cli" "$@"; }
expect_rc() {  # what, expected code
  if [ "$rc" -eq "$2" ]; then ok; else bad "$1: código $rc, esperado $2 ($(cat "$tmp/err"))"; fi
}
expect_out() {  # what, expected stdout (printf format)
  local want
  want=$(printf "$2")
  if [ "$(cat "$tmp/out")" = "$want" ]; then ok; else bad "$1: saída"$'\n'"$(cat "$tmp/out")"$'\n'"esperada"$'\n'"$want"; fi
}
expect_err() {  # what, text that stderr must hold
  if grep -qF -- "$2" "$tmp/err"; then ok; else bad "$1: erro \"$(cat "$tmp/err")\" sem \"$2\""; fi
}
expect_no_err() {  # what
  if [ ! -s "$tmp/err" ]; then ok; else bad "$1: erro inesperado \"$(cat "$tmp/err")\""; fi
}
