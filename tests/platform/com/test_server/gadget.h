// The test server's class, as its clients see it.
#pragma once

#include "platform/com/dispatch.h"

struct IGadget : IDispatch {
    STDMETHOD(Answer)(LONG* out) = 0;
};
KESTRO_DEFINE_IID(IGadget, "7D1C4E10-9A53-4C1B-8F0E-2B6A1D3C5E70");

inline constexpr CLSID CLSID_Gadget = MakeGuid("7D1C4E11-9A53-4C1B-8F0E-2B6A1D3C5E70");
inline constexpr GUID LIBID_GadgetLib = MakeGuid("7D1C4E12-9A53-4C1B-8F0E-2B6A1D3C5E70");
inline constexpr char16_t kGadgetAppId[] = u"{7D1C4E13-9A53-4C1B-8F0E-2B6A1D3C5E70}";
