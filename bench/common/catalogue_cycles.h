// The cycles the memory benchmarks repeat, the same on every desktop: the
// library's exports, called with the fake JNI environment (Natives:
// WedgeNatives on Windows, WedgeExports on Linux), and the core's
// relocation, linked in (through the library it is reached only from
// sendText, whose 200 ms settle would make a thousand of them take
// minutes).
#pragma once

#include "catalogue/window_catalogue.h"

#include <jni.h>

#include <cstdint>

namespace wedge_bench {

// measure(caseName, cycles, cycle) runs cycle() that many times and
// reports what it measured. False when there was no window to relocate.
template <typename Natives, typename Measure>
bool measureCatalogueCycles(Natives& natives, long cycles, long relocations, Measure measure) {
    // A fresh environment each cycle: the fake keeps every object it made
    // until it goes, which a JVM's garbage collector would not.
    measure("getWindows_destroy", cycles, [&] {
        natives.renewJni();
        const bool listed = natives.getWindowsArray() != nullptr;
        natives.destroy();
        return listed;
    });
    measure("getWindows_setWindow", cycles, [&] {
        natives.renewJni();
        const jobjectArray titles = natives.getWindowsArray();
        return titles != nullptr && natives.setWindow(natives.jni().arrayLength(titles) - 1);
    });

    const int32_t last = wedge::catalogue::listWindows().count() - 1;
    if (!wedge::catalogue::setWindow(last)) {
        return false;
    }
    measure("relocateTarget", relocations, [] { return wedge::catalogue::relocateTarget(); });
    wedge::catalogue::destroy();
    return true;
}

}  // namespace wedge_bench
