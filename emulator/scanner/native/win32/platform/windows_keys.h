// Facts of the Windows keyboard that the real and the simulated desktop
// answer alike: which keys are modifiers, and which key masks the release
// of Alt and Windows.
#pragma once

#include "platform/desktop.h"

#include <cstdint>

namespace wedge::platform {

inline constexpr uint16_t ModifierKeys[MaxModifierKeys] = {
    VkLeftShift, VkRightShift, VkLeftControl, VkRightControl, VkLeftMenu, VkRightMenu, VkLeftWindows, VkRightWindows,
};

// Unassigned: it types nothing and triggers nothing, yet counts as a key
// pressed while Alt or Windows was down, so their release opens no menu.
inline constexpr uint16_t NoFunctionKey = 0xE8;

inline uint16_t maskKeyForRelease(uint16_t key) {
    const bool alt = key == VkMenu || key == VkLeftMenu || key == VkRightMenu;
    const bool windows = key == VkLeftWindows || key == VkRightWindows;
    return alt || windows ? NoFunctionKey : 0;
}

}  // namespace wedge::platform
