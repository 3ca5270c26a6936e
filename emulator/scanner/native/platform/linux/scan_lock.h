// One scan at a time on an X display: every process that loads the library
// (and wedge) takes the same lock file for the display while it types, so
// the keys of two scans never interleave. The lock is the file's flock,
// which the system drops when its holder dies.
#pragma once

namespace wedge::linux_desktop {

// Waits while another scan holds the lock; false, with the desktop error
// set, when the lock file cannot be opened.
bool lockScan(const char* displayName);
void unlockScan();

}  // namespace wedge::linux_desktop
