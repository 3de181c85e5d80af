#pragma once
// Shared module of the component: value-to-text helpers and the error report every form procedure uses.
#include <memory>
#include <string>

#include "db/Connection.h"
#include "db/Error.h"
#include "db/Variant.h"
#include "entry/HostInterfaces.h"

namespace entry {

// Message-box answer codes and the styles of the error report.
inline constexpr long kAnswerOk = 1;
inline constexpr long kAnswerCancel = 2;
inline constexpr long kAnswerAbort = 3;
inline constexpr long kAnswerRetry = 4;
inline constexpr long kAnswerIgnore = 5;
inline constexpr long kAnswerYes = 6;
inline constexpr long kAnswerNo = 7;
// System modal, second button default, critical icon, Abort/Retry/Ignore.
inline constexpr long kErrorBoxStyle = 4370;
// Critical icon, Abort/Retry/Ignore: the platform box used when there is no message service.
inline constexpr long kPlatformErrorStyle = 18;

// Text of the value with trailing blanks removed; "" for a missing argument, Null or Empty.
std::string Pfun_Testo(const db::Variant& value = db::Variant::Missing());

// Decimal text of the value ("007" gives "7", "1.50" gives "1.5"); "0" when the text is empty.
// A text that is not a number raises Error 13.
std::string Pfun_Numero(const db::Variant& value = db::Variant::Missing());

// Reports `current` for the procedure `SubOrFunctionName` and returns the user's answer (2 cancel, 3 abort,
// 4 retry, 5 ignore). With a message service: the error, then the connection's errors (when there is a
// connection), then its error box. Without one: the platform message box "Errore nella funzione: " + name.
// Has no handler of its own: a failure of the service reaches the caller.
long Pfun_GestioneErrore(std::shared_ptr<IMessageService> Gcls_Log, db::ConnectionPtr ADOConnection,
                         const std::string& SubOrFunctionName, const db::Error& current);

}  // namespace entry
