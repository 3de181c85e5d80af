#pragma once
// ADO constants, with ADO's values, for the calls the component makes.

namespace db {

enum CommandTypeEnum : long { adCmdUnspecified = -1, adCmdText = 1, adCmdTable = 2, adCmdStoredProc = 4, adCmdUnknown = 8 };
// Options of Execute and Open combine a CommandTypeEnum with these flags (129 = text without records).
enum ExecuteOptionEnum : long { adOptionUnspecified = -1, adExecuteNoRecords = 128 };
// adCmdText | adExecuteNoRecords, as VB writes it, without C++20's warning on mixing enumerations.
constexpr long operator|(CommandTypeEnum type, ExecuteOptionEnum option) { return static_cast<long>(type) | static_cast<long>(option); }
enum EditModeEnum : long { adEditNone = 0, adEditInProgress = 1, adEditAdd = 2, adEditDelete = 4 };
enum CursorTypeEnum : long { adOpenUnspecified = -1, adOpenForwardOnly = 0, adOpenKeyset = 1, adOpenDynamic = 2, adOpenStatic = 3 };
enum LockTypeEnum : long { adLockUnspecified = -1, adLockReadOnly = 1, adLockPessimistic = 2, adLockOptimistic = 3, adLockBatchOptimistic = 4 };
enum CursorLocationEnum : long { adUseServer = 2, adUseClient = 3 };
enum ObjectStateEnum : long { adStateClosed = 0, adStateOpen = 1 };
enum AffectEnum : long { adAffectCurrent = 1, adAffectGroup = 2, adAffectAll = 3 };
enum FilterGroupEnum : long { adFilterNone = 0, adFilterPendingRecords = 1, adFilterAffectedRecords = 2 };
enum ParameterDirectionEnum : long { adParamUnknown = 0, adParamInput = 1, adParamOutput = 2, adParamInputOutput = 3, adParamReturnValue = 4 };
enum DataTypeEnum : long {
    adEmpty = 0, adSmallInt = 2, adInteger = 3, adSingle = 4, adDouble = 5, adCurrency = 6, adDate = 7,
    adBoolean = 11, adVariant = 12, adDecimal = 14, adTinyInt = 16, adBigInt = 20, adGUID = 72,
    adChar = 129, adWChar = 130, adNumeric = 131, adDBDate = 133, adDBTime = 134, adDBTimeStamp = 135,
    adVarChar = 200, adLongVarChar = 201, adVarWChar = 202, adLongVarWChar = 203, adLongVarBinary = 205
};
enum RecordStatusEnum : long { adRecOK = 0, adRecNew = 1, adRecModified = 2, adRecDeleted = 4, adRecUnmodified = 8 };

}  // namespace db
