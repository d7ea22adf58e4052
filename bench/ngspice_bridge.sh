#!/usr/bin/env bash
# Times ngspice on the diode bridge with an R-C load (the circuit of examples/mostek.wtx) with
# the same fixed backward-Euler step as the engine benchmark (N = 1840 samples, k = 6, 40 ms),
# and prints its time points per second beside ours. Skips when ngspice is not installed
# (apt-get install ngspice).
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
if ! command -v ngspice >/dev/null; then
  echo "ngspice is not installed: comparison skipped"
  exit 0
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
steps=$((1840 * 64))
step=$(python3 -c "print(40e-3 / $steps)")
cat > "$work/bridge.cir" <<NET
* diode bridge with R-C load, 230 V 50 Hz
.options method=gear maxord=1 itl4=100 rshunt=1e9
V1 a 0 SIN(0 325.269 50)
R0 a a1 0.0001
D1 a1 p dmod
D2 0 p dmod
D3 n a1 dmod
D4 n 0 dmod
RL p n 100
CL p n 470u
.model dmod D(IS=1e-14 RS=0.01 CJO=100p)
.tran $step 40m 0 $step
.control
run
quit
.endc
.end
NET
start=$(date +%s.%N)
ngspice -b "$work/bridge.cir" > "$work/log" 2>&1 || true
end=$(date +%s.%N)
if grep -q "aborted" "$work/log"; then
  echo "ngspice gave up on this circuit:"
  grep -E "too small|aborted" "$work/log"
  "$root/build/bench/engine_bench" --benchmark_filter=diode_bridge 2>/dev/null | grep steps_per_s
  exit 0
fi
python3 - "$start" "$end" "$steps" <<'PY'
import sys
start, end, steps = float(sys.argv[1]), float(sys.argv[2]), int(sys.argv[3])
print(f"ngspice: {steps} steps in {end - start:.2f} s = {steps / (end - start):,.0f} steps/s")
PY
"$root/build/bench/engine_bench" --benchmark_filter=diode_bridge 2>/dev/null | grep steps_per_s
