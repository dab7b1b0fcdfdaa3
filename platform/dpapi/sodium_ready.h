// libsodium must be initialised once per process before any other call.
#pragma once

// True when libsodium is usable; the first call initialises it, and
// concurrent first calls are safe.
bool SodiumReady();
