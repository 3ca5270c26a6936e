# The Wayland part of the Markdown report: ours beside wtype on headless
# sway. Runs after figures.awk, given platforms_wanted=linux.

END {
    if (!caseCount["wayland_typing"]) exit
    print ""
    print "## Linux on Wayland beside wtype"
    print ""
    print "Headless sway with XWayland (`scripts/sway-session.sh`), typing into a foot terminal running cat. wtype runs as one process per scan with `-d 50` (50 ms between keystrokes, as our pause per byte); ours is the library's export, called with the fake JNI environment in one process."
    print ""
    print "| figure | ours | wtype | target | plain sleeps of our pauses |"
    print "|---|---|---|---|---|"
    for (c = 1; c <= caseCount["wayland_typing"]; c++) {
        n = caseName["wayland_typing", c]; s = caseSize["wayland_typing", c]
        if (n ~ /\//) continue
        runs = get("wayland_typing", "linux", n, s, "runs")
        text = substr(n, index(n, "-") + 1)
        print "| time beyond the pauses, per byte, " s "-byte scans of " text " (median of " runs " runs; exact runs) | " \
            cell("wayland_typing", "linux", n "/ours", s, "overhead_per_byte_ms") " ms (" \
            cell("wayland_typing", "linux", n "/ours", s, "exact_runs") " exact) | " \
            cell("wayland_typing", "linux", n "/wtype", s, "overhead_per_byte_ms") " ms (" \
            cell("wayland_typing", "linux", n "/wtype", s, "exact_runs") " exact) | < 0.5 ms | " \
            cell("wayland_typing", "linux", n "/sleep", s, "overhead_per_byte_ms") " ms |"
    }
    for (c = 1; c <= caseCount["wayland_exactness"]; c++) {
        n = caseName["wayland_exactness", c]; s = caseSize["wayland_exactness", c]
        if (n != "short-scans/ours") continue
        print "| short scans in a row that arrived whole (wtype: on the headless seat without a keyboard; with one) | " \
            cell("wayland_exactness", "linux", n, s, "whole_scans") " of " s " | " \
            cell("wayland_exactness", "linux", "short-scans/wtype/seat-without-keyboard", s, "whole_scans") " of " s "; " \
            cell("wayland_exactness", "linux", "short-scans/wtype/seat-with-keyboard", s, "whole_scans") " of " s " | all | – |"
    }
    for (c = 1; c <= caseCount["wayland_listing"]; c++) {
        n = caseName["wayland_listing", c]; s = caseSize["wayland_listing", c]
        print "| `getWindows` with " s " toplevels (XWayland windows), median of 20 | " \
            cell("wayland_listing", "linux", n, s, "median_ms") " ms | – | – | – |"
    }
}
