// A library shaped like the add-on as its type library describes it: two
// member-less dual interfaces and their two classes, and a second library
// at resource index 2.
#pragma once

#include "platform/com/dispatch.h"

inline constexpr GUID LIBID_FarrowLib = MakeGuid("E3C9008A-0B71-4BE5-BD31-9B14BA566F29");
inline constexpr CLSID CLSID_EditHtml = MakeGuid("B5B24C3A-6312-4861-A9A1-A3A1EB0A1916");
inline constexpr CLSID CLSID_DocEventSink = MakeGuid("6A58E7E0-123B-43D5-8704-1FD003699EB9");

struct IEditHtml : IDispatch {};
KESTRO_DEFINE_IID(IEditHtml, "1DBC8B26-CC79-43CE-9F4D-95DF92DF9F2B");
struct IDocEventSink : IDispatch {};
KESTRO_DEFINE_IID(IDocEventSink, "91EA8DD6-9747-49B9-BCDF-E3FB3CDACB3A");

// The library at index 2, version 2.3, with one interface and no class.
inline constexpr GUID LIBID_SecondLib = MakeGuid("0C3B7A52-61D4-4E0F-9E2A-5B8C1D7E3F40");
struct ISecondThing : IDispatch {};
KESTRO_DEFINE_IID(ISecondThing, "0C3B7A53-61D4-4E0F-9E2A-5B8C1D7E3F40");
