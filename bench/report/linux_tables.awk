# The Linux part of the Markdown report: ours beside xdotool under Xvfb
# with openbox. Runs after figures.awk, given platforms_wanted=linux.

# "letters/wedge" -> text "letters", tool "wedge".
function textOf(name) { return substr(name, 1, index(name, "/") - 1) }
function toolOf(name) { return substr(name, index(name, "/") + 1) }

function ratio(a, b) { return b > 0 ? fmt(a / b) : "–" }

function isXdotool(tool) { return tool ~ /^(xdotool|libxdo)/ }

END {
    if (!platformCount[0]) exit

    print "## Linux beside xdotool: against the targets"
    print ""
    print "Under Xvfb with openbox, in sessions of their own (`scripts/x-session.sh`), ours and xdotool's measured in the same run. xdotool is the `xdotool` command and libxdo called in the benchmark's own process (no process start-up). `wedge` is our library's export, called with the fake JNI environment."
    print ""

    print "| figure | measured | target | within |"
    print "|---|---|---|---|"
    worst = ""
    for (c = 1; c <= caseCount["typing_overhead"]; c++) {
        n = caseName["typing_overhead", c]; s = caseSize["typing_overhead", c]
        if (toolOf(n) != "wedge") continue
        v = get("typing_overhead", "linux", n, s, "overhead_per_byte_ms")
        if (worst == "" || v > worst) { worst = v; worstText = textOf(n); worstSize = s }
        best = ""
        for (d = 1; d <= caseCount["typing_overhead"]; d++) {
            other = caseName["typing_overhead", d]
            if (textOf(other) != textOf(n) || !isXdotool(toolOf(other)) || caseSize["typing_overhead", d] != s) continue
            theirs = get("typing_overhead", "linux", other, s, "overhead_per_byte_ms")
            if (best == "" || theirs < best) { best = theirs; bestTool = toolOf(other) }
        }
        if (best != "")
            printf "| typing, %s, %d bytes: our overhead per byte beside xdotool's least (%s) | %s ms vs %s ms | less | %s |\n", textOf(n), s, bestTool, fmt(v), fmt(best), verdict(v < best)
    }
    if (worst != "") {
        printf "| typing: our overhead per byte beyond the pauses, worst of the %d-byte scans (%s) | %s ms | < 0.5 ms | %s |\n", worstSize, worstText, fmt(worst), verdict(worst < 0.5)
        alone = worstText "/pauses_alone"
        if (has("typing_overhead", "linux", alone, worstSize, "overhead_per_byte_ms"))
            printf "| typing: of that, how late the sleeps alone wake up on this machine (the same pauses, nothing typed) | %s ms | – | – |\n", cell("typing_overhead", "linux", alone, worstSize, "overhead_per_byte_ms")
    }
    for (c = 1; c <= caseCount["exactness"]; c++) {
        if (caseName["exactness", c] != "wedge") continue
        s = caseSize["exactness", c]
        v = get("exactness", "linux", "wedge", s, "max_errors")
        printf "| exactness: characters wrong, missing or extra in our worst run of %s | %s | 0 | %s |\n", s, fmt(v), verdict(v == 0)
    }
    for (c = 1; c <= caseCount["catalogue"]; c++) {
        n = caseName["catalogue", c]; s = caseSize["catalogue", c]
        if (s != 1000 || (n != "lib_getWindows" && n != "core_listWindows")) continue
        v = get("catalogue", "linux", n, s, "ratio_to_cheaper")
        printf "| catalogue: %s / the cheaper of the bare listing and libxdo, 1000 windows, medians | %s | ≤ 1.3 | %s |\n", n, fmt(v), verdict(v <= 1.3)
    }
    split("heap_growth_bytes resident_growth_bytes resident_growth_second_half_bytes", metrics, " ")
    split("heap, over all cycles|resident set, over all cycles|resident set, over the second half of the cycles", what, "|")
    for (m = 1; m <= 3; m++) {
        growth = ""
        for (c = 1; c <= caseCount["memory"]; c++) {
            n = caseName["memory", c]; s = caseSize["memory", c]
            if (!has("memory", "linux", n, s, metrics[m])) continue
            v = get("memory", "linux", n, s, metrics[m])
            if (growth == "" || v > growth) growth = v
        }
        if (growth != "") printf "| memory: largest growth of the %s | %s bytes | no growth | %s |\n", what[m], fmt(growth), verdict(growth <= 0)
    }
    print ""

    if (caseCount["typing_overhead"]) {
        print "## 5. Linux: typing overhead beyond the pauses"
        print ""
        print "Each scan typed into an xterm whose terminal is raw, running `cat` into a file, and read back from the file. Pauses: ours 200 ms + 50 ms per byte + 100 ms per Tab; xdotool's pause is half its `--delay` per character (a quarter after pressing, a quarter after releasing), so `delay100` pauses 50 ms per character as ours does. Overhead per byte = (median − pauses) / bytes. Ours includes bringing the sink to the front; xdotool's sink was brought to the front before its clock started. Delivered = runs after which the file held exactly the scan's characters. Ratio = our overhead per byte / this tool's. `pauses_alone` types nothing: it sleeps our pauses with plain `nanosleep`, as xdotool sleeps, so what it takes beyond them is how late a plain sleep wakes up on the machine at the time, a share of xdotool's overhead (our library waits out the last millisecond of each pause against the clock)."
        print ""
        print "| text | tool | bytes | Tabs | runs | delivered | pauses ms | min ms | median ms | max ms | overhead per byte ms | ours / this |"
        print "|---|---|---|---|---|---|---|---|---|---|---|---|"
        for (c = 1; c <= caseCount["typing_overhead"]; c++) {
            n = caseName["typing_overhead", c]; s = caseSize["typing_overhead", c]
            ours = textOf(n) "/wedge"
            mine = "–"
            delivered = cell("typing_overhead", "linux", n, s, "delivered_runs")
            if (toolOf(n) == "pauses_alone") delivered = "–"
            if (has("typing_overhead", "linux", ours, s, "overhead_per_byte_ms") && isXdotool(toolOf(n)))
                mine = ratio(get("typing_overhead", "linux", ours, s, "overhead_per_byte_ms"), get("typing_overhead", "linux", n, s, "overhead_per_byte_ms"))
            printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", textOf(n), toolOf(n), s,
                cell("typing_overhead", "linux", n, s, "tabs"), cell("typing_overhead", "linux", n, s, "runs"),
                delivered, cell("typing_overhead", "linux", n, s, "pauses_ms"),
                cell("typing_overhead", "linux", n, s, "min_ms"), cell("typing_overhead", "linux", n, s, "median_ms"),
                cell("typing_overhead", "linux", n, s, "max_ms"), cell("typing_overhead", "linux", n, s, "overhead_per_byte_ms"), mine
        }
        print ""
    }

    if (caseCount["exactness"]) {
        print "## 6. Linux: exactness at speed"
        print ""
        text = ""
        for (c = 1; c <= caseCount["exactness"]; c++) if (caseName["exactness", c] == "text") text = caseSize["exactness", c]
        printf "%s characters: printable ASCII with every third one from bytes 128 to 255 (%s of them; %s characters in all that no key of the display's keymap produces), typed into the same sink. Ours types at its own pace (50 ms per byte); xdotool at delays 50 (25 ms of pauses per character), 12 (its default) and 5. What arrived is aligned with what was sent (fewest single-character changes): wrong, missing, extra; medians over the runs.\n", fmt(text), cell("exactness", "linux", "text", text, "high_bytes"), cell("exactness", "linux", "text", text, "characters_without_key")
        print ""
        print "| tool | runs | exact runs | wrong | missing | extra | median errors | worst run | median ms |"
        print "|---|---|---|---|---|---|---|---|---|"
        for (c = 1; c <= caseCount["exactness"]; c++) {
            n = caseName["exactness", c]; s = caseSize["exactness", c]
            if (n == "text") continue
            printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", n, cell("exactness", "linux", n, s, "runs"),
                cell("exactness", "linux", n, s, "exact_runs"), cell("exactness", "linux", n, s, "median_wrong"),
                cell("exactness", "linux", n, s, "median_missing"), cell("exactness", "linux", n, s, "median_extra"),
                cell("exactness", "linux", n, s, "median_errors"), cell("exactness", "linux", n, s, "max_errors"), cell("exactness", "linux", n, s, "median_ms")
        }
        print ""
    }

    if (caseCount["catalogue"]) {
        print "## 7. Linux: catalogue scaling"
        print ""
        print "Another client shows N titled windows, managed by openbox. Four ways of listing, interleaved in one run, medians: `bare` reads `_NET_CLIENT_LIST` and fetches each title (`_NET_WM_NAME`, else `WM_NAME`), keeping nothing; `libxdo` is `xdo_search_windows` by name down to the clients under openbox's frames (depth 2; xdotool's default, the whole tree, takes about three times as long); `getWindows` is our export, String[] included; `listWindows` is the plain C++ catalogue under it. Ratios are to the cheaper of bare and libxdo."
        print ""
        print "| windows | reps | bare ms | libxdo ms | getWindows ms | ratio | listWindows ms | ratio | bare µs/window | getWindows µs/window |"
        print "|---|---|---|---|---|---|---|---|---|---|"
        for (c = 1; c <= caseCount["catalogue"]; c++) {
            if (caseName["catalogue", c] != "windows") continue
            s = caseSize["catalogue", c]
            printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", s, cell("catalogue", "linux", "windows", s, "repetitions"),
                cell("catalogue", "linux", "bare_client_list", s, "median_ms"), cell("catalogue", "linux", "libxdo_search", s, "median_ms"),
                cell("catalogue", "linux", "lib_getWindows", s, "median_ms"), cell("catalogue", "linux", "lib_getWindows", s, "ratio_to_cheaper"),
                cell("catalogue", "linux", "core_listWindows", s, "median_ms"), cell("catalogue", "linux", "core_listWindows", s, "ratio_to_cheaper"),
                cell("catalogue", "linux", "bare_client_list", s, "per_window_us"), cell("catalogue", "linux", "lib_getWindows", s, "per_window_us")
        }
        print ""
    }

    if (caseCount["memory"]) {
        print "## 8. Linux: memory across many cycles"
        print ""
        print "Another client shows ten windows. Before = after a warm-up of 10% of the cycles (at least 10). Resident set from /proc/self/statm, with glibc keeping its heap's free top; heap from mallinfo2 (in use + mmapped), the X libraries that our library opens included. getWindows cycles go through the exports with a fresh fake JNI environment each cycle; relocations call catalogue::relocateTarget of the X11 core linked in."
        print ""
        print "| cycle | cycles | succeeded | resident before | resident after | resident growth | of it in the second half | heap before | heap after | heap growth | µs per cycle |"
        print "|---|---|---|---|---|---|---|---|---|---|---|"
        for (c = 1; c <= caseCount["memory"]; c++) {
            n = caseName["memory", c]; s = caseSize["memory", c]
            printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", n, s, cell("memory", "linux", n, s, "succeeded_cycles"),
                cell("memory", "linux", n, s, "resident_before_bytes"), cell("memory", "linux", n, s, "resident_after_bytes"),
                cell("memory", "linux", n, s, "resident_growth_bytes"), cell("memory", "linux", n, s, "resident_growth_second_half_bytes"),
                cell("memory", "linux", n, s, "heap_before_bytes"),
                cell("memory", "linux", n, s, "heap_after_bytes"), cell("memory", "linux", n, s, "heap_growth_bytes"), cell("memory", "linux", n, s, "per_cycle_us")
        }
        print ""
    }
}
