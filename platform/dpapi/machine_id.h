// The identity of this machine, to which every protection key is bound.
#pragma once

#include <string_view>

// KESTRO_MACHINE_ID when set (tests, machines without an id), otherwise the
// first non-empty of /etc/machine-id and /var/lib/dbus/machine-id, without
// surrounding whitespace; the files are read once per process. id stays
// valid until the environment changes. False with ERROR_FILE_NOT_FOUND when
// there is none.
bool ReadMachineId(std::string_view& id);
