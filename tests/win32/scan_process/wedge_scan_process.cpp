// A process of its own that types one scan through its own copy of the
// DLL, so that the tests can run scans of several processes at once.
//
//   wedge_scan_process.exe <target title> <text> <ready event> <go event>
//
// Chooses the target by its title, sets the ready event, waits for the go
// event, and types the text. Exit status: 0 when sendText succeeded, 1
// when it failed, 2 when it could not get that far.
#include "wedge_natives.h"
#include "wide_text.h"

#include <windows.h>

#include <string>
#include <vector>

int wmain(int argc, wchar_t** argv) {
    if (argc != 5) {
        return 2;
    }
    wedge_test::WedgeNatives natives;
    if (!natives.ready() || !natives.chooseTarget(wedge_test::toU16(argv[1]))) {
        return 2;
    }
    const std::wstring text = argv[2];
    std::vector<uint8_t> bytes;
    for (const wchar_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit));
    }
    const HANDLE ready = OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[3]);
    const HANDLE go = OpenEventW(SYNCHRONIZE, FALSE, argv[4]);
    if (ready == nullptr || go == nullptr || SetEvent(ready) == FALSE ||
        WaitForSingleObject(go, 30000) != WAIT_OBJECT_0) {
        return 2;
    }
    return natives.sendText(bytes) ? 0 : 1;
}
