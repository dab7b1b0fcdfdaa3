// Fields and Field of a recordset: views of its current row that read and
// assign through the recordset, so they follow it as it moves.
#pragma once

#include "platform/ado/ado_interfaces.h"

class RecordsetObject;

HRESULT CreateFieldsObject(RecordsetObject* recordset, Fields** fields);
