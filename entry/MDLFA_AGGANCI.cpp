#include "entry/MDLFA_AGGANCI.h"

#include "entry/ComponentInfo.h"

namespace entry {

std::string Pfun_Testo(const db::Variant& value) {
    if (value.IsMissing()) return {};
    return db::RTrim(value.Text());
}

std::string Pfun_Numero(const db::Variant& value) {
    const std::string text = Pfun_Testo(value);
    if (text.empty()) return "0";
    // Leading blanks are kept by Pfun_Testo but are not part of the number.
    return db::Variant(db::LTrim(text)).CDec().ToString();
}

long Pfun_GestioneErrore(std::shared_ptr<IMessageService> Gcls_Log, db::ConnectionPtr ADOConnection,
                         const std::string& SubOrFunctionName, const db::Error& current) {
    if (Gcls_Log) {
        Gcls_Log->SetError(current);
        if (ADOConnection) Gcls_Log->SetConnectionErrors(ADOConnection->Errors());
        return Gcls_Log->ShowErrorBox(kComponentTitle, kComponentDescription, SubOrFunctionName, kErrorBoxStyle);
    }
    return Host().PlatformMsgBox("Errore nella funzione: " + SubOrFunctionName, kPlatformErrorStyle, kComponentTitle);
}

}  // namespace entry
