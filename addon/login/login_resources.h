// The login commands' dialogs, linked into the add-on's resource table.
#pragma once

#include "platform/ui/resource_templates.h"

// The entries the add-on's resource table takes from here, each followed
// by a comma.
#define FARROW_LOGIN_RESOURCE_ENTRIES
