// Critical sections: a recursive lock owned by one thread at a time, which
// the owning thread may enter again as long as it leaves as often.
#pragma once

#include <pthread.h>

#include "platform/win/win_types.h"

struct CRITICAL_SECTION {
    pthread_mutex_t mutex;
};
using LPCRITICAL_SECTION = CRITICAL_SECTION*;

void InitializeCriticalSection(LPCRITICAL_SECTION section);
void EnterCriticalSection(LPCRITICAL_SECTION section);
void LeaveCriticalSection(LPCRITICAL_SECTION section);
// The section must not be owned; it may be initialised again afterwards.
void DeleteCriticalSection(LPCRITICAL_SECTION section);
