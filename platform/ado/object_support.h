// Small pieces the ADO objects share: argument checks and ADO's error texts.
#pragma once

#include "platform/ado/ado_constants.h"
#include "platform/ado/ado_error.h"
#include "platform/com/variant.h"

// A zero-based position from an integer (or integral real) variant.
bool PositionOf(const VARIANT& index, long* position);
// The text of a string variant (possibly by reference).
bool TextOf(const VARIANT& value, std::u16string* text);
// Statement text is the only command type the provider runs.
bool IsTextCommand(long options);

HRESULT ObjectClosedError();
HRESULT ObjectOpenError();
HRESULT NoCurrentRecordError();
HRESULT ItemNotFoundError();
HRESULT InvalidConnectionError();
HRESULT InvalidArgumentError();
HRESULT NotUpdatableError();
