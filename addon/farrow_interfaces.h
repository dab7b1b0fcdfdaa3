// The add-on's own COM identity: its type library, application id, classes
// and the two dual interfaces, which add nothing to IDispatch.
#pragma once

#include "platform/com/dispatch.h"

inline constexpr GUID LIBID_FarrowLib = MakeGuid("E3C9008A-0B71-4BE5-BD31-9B14BA566F29");
inline constexpr char16_t kFarrowAppId[] = u"{5557D750-8408-4AD3-8A63-D0D4F517706B}";

inline constexpr CLSID CLSID_EditHtml = MakeGuid("B5B24C3A-6312-4861-A9A1-A3A1EB0A1916");
inline constexpr CLSID CLSID_DocEventSink = MakeGuid("6A58E7E0-123B-43D5-8704-1FD003699EB9");

struct IEditHtml : IDispatch {};
KESTRO_DEFINE_IID(IEditHtml, "1DBC8B26-CC79-43CE-9F4D-95DF92DF9F2B");

struct IDocEventSink : IDispatch {};
KESTRO_DEFINE_IID(IDocEventSink, "91EA8DD6-9747-49B9-BCDF-E3FB3CDACB3A");
