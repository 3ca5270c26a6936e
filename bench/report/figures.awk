# Reading latest.csv (figure,platform,case,size,metric,value) for the
# report programs, which run after this file (awk -f figures.awk -f ...).
# -v platforms_wanted="linux" keeps those platforms' rows alone;
# -v platforms_left_out="linux" drops them.
BEGIN { FS = "," }

NR == 1 { next }  # the header
platforms_wanted != "" && index(" " platforms_wanted " ", " " $2 " ") == 0 { next }
platforms_left_out != "" && index(" " platforms_left_out " ", " " $2 " ") > 0 { next }

{
    value[$1, $2, $3, $4, $5] = $6
    addOnce(platforms, platformCount, $2)
    # Each figure's cases (name and size) in the order they first came.
    if (!(($1 SUBSEP $3 SUBSEP $4) in seenCase)) {
        seenCase[$1, $3, $4] = 1
        caseCount[$1]++
        caseName[$1, caseCount[$1]] = $3
        caseSize[$1, caseCount[$1]] = $4
    }
}

function addOnce(list, count, item,    i) {
    for (i = 1; i <= count[0]; i++) if (list[i] == item) return
    list[++count[0]] = item
}

function has(figure, platform, name, size, metric) {
    return (figure SUBSEP platform SUBSEP name SUBSEP size SUBSEP metric) in value
}

function get(figure, platform, name, size, metric) {
    return value[figure, platform, name, size, metric]
}

function fmt(number,    magnitude) {
    if (number == "") return "–"
    if (number == int(number)) return sprintf("%d", number)
    magnitude = number < 0 ? -number : number
    if (magnitude < 10) return sprintf("%.3f", number)
    return sprintf("%.1f", number)
}

function cell(figure, platform, name, size, metric) {
    return has(figure, platform, name, size, metric) ? fmt(get(figure, platform, name, size, metric)) : "–"
}

function verdict(ok) { return ok ? "yes" : "**no**" }
