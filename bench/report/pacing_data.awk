# The pacing rows of latest.csv as gnuplot data, one block per platform and
# text, separated by two blank lines:
#   bytes nominal_ms min_ms median_ms max_ms overhead_per_byte_ms
BEGIN { FS = "," }
$1 == "pacing" {
    series = $2 "-" $3
    if (!(series in seen)) { seen[series] = 1; order[++count] = series }
    rows[series, $4, $5] = $6
    if (!((series SUBSEP $4) in sized)) { sized[series SUBSEP $4] = 1; sizes[series, ++sizeCount[series]] = $4 }
}
END {
    for (i = 1; i <= count; i++) {
        series = order[i]
        printf "# %s\n", series
        for (j = 1; j <= sizeCount[series]; j++) {
            s = sizes[series, j]
            printf "%s %s %s %s %s %s\n", s, rows[series, s, "nominal_ms"], rows[series, s, "min_ms"],
                rows[series, s, "median_ms"], rows[series, s, "max_ms"], rows[series, s, "overhead_per_byte_ms"]
        }
        printf "\n\n"
    }
}
