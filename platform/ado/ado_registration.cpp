#include "platform/ado/ado.h"
#include "platform/ado/ado_objects.h"

bool RegisterAdoClasses() {
    static const bool registered = [] {
        RegisterBuiltinClass(CLSID_Connection, CreateConnectionObject);
        RegisterBuiltinClass(CLSID_Recordset, CreateRecordsetObject);
        RegisterBuiltinClass(CLSID_Command, CreateCommandObject);
        return true;
    }();
    return registered;
}
