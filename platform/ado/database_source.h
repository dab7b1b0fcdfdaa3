// How the provider's objects find the database behind a connection they
// are given as an interface pointer: the connection object answers this
// private interface.
#pragma once

#include <memory>

#include "platform/ado/sqlite_database.h"
#include "platform/com/unknown.h"

struct IAdoDatabaseSource : IUnknown {
    // The database of the connection's current Open; null when it was never
    // opened. A closed database stays closed: a reopened connection gets a
    // new one, so rows read before never reach another file.
    virtual std::shared_ptr<SqliteDatabase> Database() = 0;
};
KESTRO_DEFINE_IID(IAdoDatabaseSource, "6C1E5A3B-7F0D-4B7E-9A51-2D8C4E0B9F17");

// The open database behind a connection given as a VARIANT (IDispatch or
// IUnknown, possibly by reference) or as an interface; otherwise fails
// with ADO's invalid-connection error.
HRESULT OpenDatabaseOf(const VARIANT& connection, std::shared_ptr<SqliteDatabase>* database);
HRESULT OpenDatabaseOf(IUnknown* connection, std::shared_ptr<SqliteDatabase>* database);
