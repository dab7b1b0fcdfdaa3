// The speech classes built into CoCreateInstance.
#include "platform/sapi/sapi.h"
#include "platform/sapi/sp_voice.h"
#include "platform/sapi/token_category.h"

KESTRO_BUILTIN_CLASS(SpVoice, CLSID_SpVoice, CComCreator<SpVoice>::CreateInstance);
KESTRO_BUILTIN_CLASS(SpObjectTokenCategory, CLSID_SpObjectTokenCategory,
                     CComCreator<SpObjectTokenCategory>::CreateInstance);
