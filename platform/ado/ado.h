// ADO over the Jet dialect, on SQLite: the Connection, Recordset and
// Command classes, created with CoCreateInstance(CLSID_Connection, ...) or
// CComPtr::CoCreateInstance(__uuidof(Connection)).
//
// Linking: the classes are built-in classes of the platform, registered by
// RegisterAdoClasses. Every translation unit that includes this header
// references it through AdoClassesRegistered below, so any image (program
// or add-on library) that uses ADO links the registration and runs it at
// start-up; no whole-archive linking is needed. Calling RegisterAdoClasses
// again is harmless.
#pragma once

#include "platform/ado/ado_constants.h"
#include "platform/ado/ado_error.h"
#include "platform/ado/ado_interfaces.h"
#include "platform/com/class_factory.h"

// The coclasses, named so __uuidof(Connection) gives the class id.
struct Connection;
struct Recordset;
struct Command;

inline constexpr CLSID CLSID_Connection = MakeGuid("00000514-0000-0010-8000-00AA006D2EA4");
inline constexpr CLSID CLSID_Recordset = MakeGuid("00000535-0000-0010-8000-00AA006D2EA4");
inline constexpr CLSID CLSID_Command = MakeGuid("00000507-0000-0010-8000-00AA006D2EA4");
KESTRO_BIND_IID(Connection, CLSID_Connection)
KESTRO_BIND_IID(Recordset, CLSID_Recordset)
KESTRO_BIND_IID(Command, CLSID_Command)

// Registers Connection, Recordset and Command as built-in classes; true.
bool RegisterAdoClasses();

inline const bool AdoClassesRegistered = RegisterAdoClasses();
