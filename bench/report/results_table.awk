# Turns latest.csv into the Markdown report of the host and Windows
# figures; runs after figures.awk. The machines' descriptions come in as -v machine=...,
# one "name: value" per line separated by "|"; a line in ** ** heads the
# lines of one part of the run.
END {
    print "# Benchmark results"
    print ""
    print "Written by `bash scripts/bench.sh`. The figures of each part below were measured in the same run, on the machine described for that part."
    print ""
    count = split(machine, lines, "|")
    for (i = 1; i <= count; i++) {
        if (lines[i] ~ /^\*\*/) { if (i > 1) print ""; print lines[i]; print "" }
        else print "- " lines[i]
    }
    print ""

    print "## Windows and host: against the targets"
    print ""
    print "| figure | platform | measured | target | within |"
    print "|---|---|---|---|---|"
    for (p = 1; p <= platformCount[0]; p++) {
        platform = platforms[p]
        if (has("pacing", platform, "letters", 100, "overhead_per_byte_ms")) {
            worst = -1e9
            for (c = 1; c <= caseCount["pacing"]; c++) {
                n = caseName["pacing", c]; s = caseSize["pacing", c]
                if (s == 100 && has("pacing", platform, n, s, "overhead_per_byte_ms")) {
                    v = get("pacing", platform, n, s, "overhead_per_byte_ms")
                    if (v > worst) worst = v
                }
            }
            printf "| pacing: overhead per byte beyond the pauses, median run, worse of the two 100-byte scans | %s | %s ms | < 0.5 ms | %s |\n", platform, fmt(worst), verdict(worst < 0.5)
        }
        for (w = 1; w <= caseCount["catalogue"]; w++) {
            if (caseName["catalogue", w] != "windows") continue
            size = caseSize["catalogue", w]
            if (size != 1000) continue
            for (way = 1; way <= 2; way++) {
                name = way == 1 ? "core_listWindows" : "dll_getWindows"
                if (!has("catalogue", platform, name, size, "ratio_to_bare")) continue
                v = get("catalogue", platform, name, size, "ratio_to_bare")
                printf "| catalogue: %s / bare loop, %d windows, medians | %s | %s | ≤ 1.3 | %s |\n", name, size, platform, fmt(v), verdict(v <= 1.3)
            }
        }
        growth = ""
        for (c = 1; c <= caseCount["memory"]; c++) {
            n = caseName["memory", c]; s = caseSize["memory", c]
            foreach_metric = split("committed_private_growth_bytes heap_growth_bytes", metrics, " ")
            for (m = 1; m <= foreach_metric; m++) {
                if (has("memory", platform, n, s, metrics[m])) {
                    v = get("memory", platform, n, s, metrics[m])
                    if (growth == "" || v > growth) growth = v
                }
            }
        }
        if (growth != "") {
            printf "| memory: largest growth over all cycles, private and heap | %s | %s bytes | no growth | %s |\n", platform, fmt(growth), verdict(growth <= 0)
        }
        most = ""
        for (c = 1; c <= caseCount["typing_allocations"]; c++) {
            n = caseName["typing_allocations", c]; s = caseSize["typing_allocations", c]
            if (has("typing_allocations", platform, n, s, "library_allocations_per_call")) {
                v = get("typing_allocations", platform, n, s, "library_allocations_per_call")
                if (most == "" || v > most) most = v
            }
        }
        if (most != "") {
            printf "| typing path: library allocations per sendText, largest over all texts | %s | %s | none | %s |\n", platform, fmt(most), verdict(most == 0)
        }
    }
    print ""

    print "## 1. Pacing: sendText wall time under Wine"
    print ""
    print "Through the DLL's `sendText` export (fake JNI environment), typing into the edit of a separate process (`wedge_target.exe`). Nominal = 200 ms + 50 ms per byte + 100 ms per Tab. Overhead per byte = (median − nominal) / bytes. Delivered = runs after which the edit held every letter (Wine 8 types no character for a Tab sent by scan code, so Tabs are left out of that comparison)."
    print ""
    print "| platform | text | bytes | Tabs | runs | nominal ms | min ms | median ms | max ms | overhead per byte ms | delivered |"
    print "|---|---|---|---|---|---|---|---|---|---|---|"
    for (p = 1; p <= platformCount[0]; p++) for (c = 1; c <= caseCount["pacing"]; c++) {
        platform = platforms[p]; n = caseName["pacing", c]; s = caseSize["pacing", c]
        if (!has("pacing", platform, n, s, "median_ms")) continue
        printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", platform, n, s,
            cell("pacing", platform, n, s, "tabs"), cell("pacing", platform, n, s, "runs"),
            cell("pacing", platform, n, s, "nominal_ms"), cell("pacing", platform, n, s, "min_ms"),
            cell("pacing", platform, n, s, "median_ms"), cell("pacing", platform, n, s, "max_ms"),
            cell("pacing", platform, n, s, "overhead_per_byte_ms"), cell("pacing", platform, n, s, "delivered_runs")
    }
    print ""

    print "## 2. Catalogue scaling under Wine"
    print ""
    print "A separate process shows N visible, titled top-level windows. Three ways of listing them, interleaved in one run, timed with QueryPerformanceCounter; medians. `bare` is EnumWindows with GetWindowInfo + GetWindowTextLengthW + GetWindowTextW, keeping nothing; `listWindows` is wedge_core's catalogue::listWindows linked into the benchmark; `getWindows` is the DLL's export called with the fake JNI environment, String[] included. Per window = median / listed windows."
    print ""
    print "| platform | windows | top-level | listed | reps | bare ms | listWindows ms | ratio | getWindows ms | ratio | bare µs/window | listWindows µs/window | getWindows µs/window |"
    print "|---|---|---|---|---|---|---|---|---|---|---|---|---|"
    for (p = 1; p <= platformCount[0]; p++) for (c = 1; c <= caseCount["catalogue"]; c++) {
        platform = platforms[p]; s = caseSize["catalogue", c]
        if (caseName["catalogue", c] != "windows" || !has("catalogue", platform, "windows", s, "listed_windows")) continue
        printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", platform, s,
            cell("catalogue", platform, "windows", s, "top_level_windows"), cell("catalogue", platform, "windows", s, "listed_windows"),
            cell("catalogue", platform, "windows", s, "repetitions"),
            cell("catalogue", platform, "bare_loop", s, "median_ms"),
            cell("catalogue", platform, "core_listWindows", s, "median_ms"), cell("catalogue", platform, "core_listWindows", s, "ratio_to_bare"),
            cell("catalogue", platform, "dll_getWindows", s, "median_ms"), cell("catalogue", platform, "dll_getWindows", s, "ratio_to_bare"),
            cell("catalogue", platform, "bare_loop", s, "per_window_us"),
            cell("catalogue", platform, "core_listWindows", s, "per_window_us"),
            cell("catalogue", platform, "dll_getWindows", s, "per_window_us")
    }
    print ""

    print "## 3. Memory across many cycles"
    print ""
    print "Before = after a warm-up of 1% of the cycles (at least 10). Windows: committed private pages (VirtualQuery walk) and bytes in busy heap blocks (HeapWalk over every heap); `PROCESS_MEMORY_COUNTERS_EX.PrivateUsage` is in the CSV too, but Wine 8 reports 0 there. Host: mallinfo2 (in use + mmapped). getWindows cycles go through the exports (Windows) or the bridge (host) with a fresh fake JNI environment each cycle; relocations call catalogue::relocateTarget."
    print ""
    print "| platform | cycle | cycles | succeeded | private before | private after | private growth | heap before | heap after | heap growth | µs per cycle |"
    print "|---|---|---|---|---|---|---|---|---|---|---|"
    for (p = 1; p <= platformCount[0]; p++) for (c = 1; c <= caseCount["memory"]; c++) {
        platform = platforms[p]; n = caseName["memory", c]; s = caseSize["memory", c]
        if (!has("memory", platform, n, s, "heap_growth_bytes")) continue
        printf "| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s |\n", platform, n, s,
            cell("memory", platform, n, s, "succeeded_cycles"),
            cell("memory", platform, n, s, "committed_private_before_bytes"), cell("memory", platform, n, s, "committed_private_after_bytes"),
            cell("memory", platform, n, s, "committed_private_growth_bytes"),
            cell("memory", platform, n, s, "heap_before_bytes"), cell("memory", platform, n, s, "heap_after_bytes"),
            cell("memory", platform, n, s, "heap_growth_bytes"), cell("memory", platform, n, s, "per_cycle_us")
    }
    print ""

    print "## 4. The typing path on the host"
    print ""
    print "Allocations: counted by a replacement global operator new around each keystrokes::sendText, reading a preallocated buffer, over the simulated desktop after 64 warm-up calls. The simulated desktop's logs and the target's received text grow by doubling, so now and then a call allocates on the desktop's side; the library's own share is the same on every call, so it is the fewest allocations any call made. Calls during which the desktop's event or activation log reallocated are counted apart."
    print ""
    print "| text | bytes | calls | library allocations per call | calls with no allocation | calls with log growth | most in a call without log growth | most in any call |"
    print "|---|---|---|---|---|---|---|---|"
    for (c = 1; c <= caseCount["typing_allocations"]; c++) {
        n = caseName["typing_allocations", c]; s = caseSize["typing_allocations", c]
        printf "| %s | %s | %s | %s | %s | %s | %s | %s |\n", n, s,
            cell("typing_allocations", "host", n, s, "calls"),
            cell("typing_allocations", "host", n, s, "library_allocations_per_call"),
            cell("typing_allocations", "host", n, s, "calls_without_allocation"),
            cell("typing_allocations", "host", n, s, "calls_with_log_growth"),
            cell("typing_allocations", "host", n, s, "max_allocations_stable_logs"),
            cell("typing_allocations", "host", n, s, "max_allocations_any_call")
    }
    print ""
    print "CPU time of keystrokes::typeByte (CLOCK_PROCESS_CPUTIME_ID) over the simulated desktop, whose own work of applying and logging each event is included; batches of about 3,000 bytes on a desktop whose event log already has room for them."
    print ""
    print "| bytes | byte values | batches | min ns/byte | median ns/byte | max ns/byte | batches with log growth |"
    print "|---|---|---|---|---|---|---|"
    for (c = 1; c <= caseCount["translation_cpu"]; c++) {
        n = caseName["translation_cpu", c]; s = caseSize["translation_cpu", c]
        printf "| %s | %s | %s | %s | %s | %s | %s |\n", n, s,
            cell("translation_cpu", "host", n, s, "batches"),
            cell("translation_cpu", "host", n, s, "min_ns_per_byte"),
            cell("translation_cpu", "host", n, s, "median_ns_per_byte"),
            cell("translation_cpu", "host", n, s, "max_ns_per_byte"),
            cell("translation_cpu", "host", n, s, "batches_with_log_growth")
    }
    print ""
    print "![pacing](pacing.png)"
}
