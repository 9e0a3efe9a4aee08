# Sourced by the whole-process benchmarks. once CMD...: the command's wall time in
# microseconds, its output dropped. median: the median of the times on standard input, in
# milliseconds with two decimals.
once() {
    local start end
    start=${EPOCHREALTIME/[.,]/}
    "$@" >/dev/null 2>&1
    end=${EPOCHREALTIME/[.,]/}
    echo $((end - start))
}
median() { sort -n | awk '{t[NR] = $1} END {printf "%.2f", t[int((NR + 1) / 2)] / 1000}'; }
