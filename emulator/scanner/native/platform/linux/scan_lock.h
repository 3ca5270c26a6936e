// One scan at a time on a desktop: every process that loads the library
// (and wedge) takes the same lock file for the desktop while it types, so
// the keys of two scans never interleave. The lock is the file's flock,
// which the system drops when its holder dies.
//
// The file lies in a folder only the user can write: $XDG_RUNTIME_DIR,
// else /run/user/<uid>, else /tmp/kavo-wedge-<uid> (created owner-only).
// The folder must be the user's own and writable by no one else, and the
// file a regular file of the user's; neither is reached through a link.
#pragma once

namespace wedge::linux_desktop {

// Locks the key: a name for the desktop that every process reaching it
// spells the same way ("x11-0" for the X server :0). Waits while another
// scan holds the lock; false, with the desktop error set, when the lock
// cannot be had.
bool lockScan(const char* key);
void unlockScan();

}  // namespace wedge::linux_desktop
