// The ADO enumerations and error numbers the system passes and checks, with
// ADO's values.
#pragma once

#include "platform/com/hresult.h"

enum ObjectStateEnum { adStateClosed = 0, adStateOpen = 1 };

enum CursorTypeEnum {
    adOpenUnspecified = -1,
    adOpenForwardOnly = 0,
    adOpenKeyset = 1,
    adOpenDynamic = 2,
    adOpenStatic = 3
};

enum LockTypeEnum {
    adLockUnspecified = -1,
    adLockReadOnly = 1,
    adLockPessimistic = 2,
    adLockOptimistic = 3,
    adLockBatchOptimistic = 4
};

enum CommandTypeEnum {
    adCmdUnspecified = -1,
    adCmdText = 1,
    adCmdTable = 2,
    adCmdStoredProc = 4,
    adCmdUnknown = 8,
    adCmdFile = 0x100,
    adCmdTableDirect = 0x200
};

enum ExecuteOptionEnum { adExecuteNoRecords = 0x80 };

enum ConnectOptionEnum { adConnectUnspecified = -1, adAsyncConnect = 0x10 };
constexpr long adOptionUnspecified = -1;

enum AffectEnum { adAffectCurrent = 1, adAffectGroup = 2, adAffectAll = 3 };

// ADO's own error numbers; raised as HRESULTs 0x800A0000 + number.
enum ErrorValueEnum {
    adErrInvalidArgument = 3001,
    adErrNoCurrentRecord = 3021,
    adErrIllegalOperation = 3219,
    adErrFeatureNotAvailable = 3251,
    adErrItemNotFound = 3265,
    adErrObjectClosed = 3704,
    adErrObjectOpen = 3705,
    adErrInvalidConnection = 3709
};

constexpr HRESULT AdoErrorHresult(ErrorValueEnum error) {
    return MakeHresult(0x800A0000u | static_cast<std::uint32_t>(error));
}
