// Typing a byte string into the target application, as a scanner wired in
// front of the keyboard would.
#pragma once

#include <cstdint>

namespace wedge::keystrokes {

inline constexpr uint32_t SettleMs = 200;
inline constexpr uint32_t BetweenBytesMs = 50;

// The bytes to type, read one at a time so that a large scan is never
// copied whole.
struct TextSource {
    void* context;
    int32_t (*length)(void* context);
    // False when the byte cannot be read.
    bool (*readByte)(void* context, int32_t index, uint8_t* value);
};

// Takes the desktop-wide scan lock, brings the target to the foreground
// (finding it again by its title when that fails), refuses a target whose
// process would drop injected input (error 5), restores it if minimised,
// lets it settle, and types the bytes through the target's keyboard layout
// with Caps Lock off, re-asserting the foreground before each byte. A null
// text is bad input. On false, lastErrorText says why; on true it is empty.
bool sendText(const TextSource* text);

}  // namespace wedge::keystrokes
