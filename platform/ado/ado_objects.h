// Creation of the provider's objects, for the class registration and for
// the objects that hand out others.
#pragma once

#include <memory>

#include "platform/ado/ado_interfaces.h"
#include "platform/ado/row_set.h"
#include "platform/ado/sqlite_database.h"

HRESULT CreateConnectionObject(IUnknown* outer, REFIID riid, void** ppv);
HRESULT CreateRecordsetObject(IUnknown* outer, REFIID riid, void** ppv);
HRESULT CreateCommandObject(IUnknown* outer, REFIID riid, void** ppv);

// The recordset a statement returns: open over its rows when it yields
// rows, closed otherwise.
HRESULT CreateResultRecordset(RowSet rows, std::shared_ptr<SqliteDatabase> database,
                              _Recordset** result);
