// Barcodes: a barcode names one article, so the new article gets a newly numbered code for each source
// barcode of an automatically numbered type; barcodes of other types are not carried over.
#include "db/CommonSql.h"
#include "db/Quote.h"
#include "engine/CLSFA_DUPLICA.h"
#include "engine/RowCopy.h"
#include "engine/RunConstants.h"
#include "entry/MDLFA_AGGANCI.h"

namespace engine {
namespace {

// The numbering parameters of one barcode type.
struct BarcodeType {
    bool automatic = false;
    std::int16_t lower = 0, upper = 0, checkDigit = 0;
};

// Mode 2 numbers automatically; the check-digit flag must be 1, or 0 on a type above 1.
bool Generates(const db::Variant& mode, const db::Variant& checkDigit, double type) {
    if (mode.IsNull() || checkDigit.IsNull()) return false;
    const double m = mode.CDbl(), c = checkDigit.CDbl();
    return m == 2 && (c == 1 || (type > 1 && c == 0));
}

}  // namespace

EnumMethodResult CLSFA_DUPLICA::DuplicazioneBarcode(const db::Variant& Articolo_Origine,
                                                    const db::Variant& Articolo_DaGenerare) {
    return Operation("DuplicazioneBarcode", [&] {
        const db::ConnectionPtr connection = UsableConnection();
        auto generator = entry::Host().CreateBarcodeGenerator();
        generator->Connection(connection);
        generator->ActiveInterface(actInterface_);

        const std::string company = DittaText();
        std::string barcode;
        BarcodeType type;

        CopySpec plan;
        plan.sourceSql = "SELECT * FROM MG65_BARCODE WHERE  MG65_DITTA_CG18 = " + company +
                         " AND MG65_CODART_MG66 = '" + db::SqlEscape(Articolo_Origine.Text()) + "'" +
                         " AND MG65_OPZIONE_MG5E = ' '";
        plan.emptySql = "SELECT * FROM MG65_BARCODE WHERE 0=1";
        plan.commonSql = true;
        plan.batchPerRow = true;
        plan.before = EngineEvent::BeforeUpdateMG65;
        plan.after = EngineEvent::AfterUpdateMG65;
        plan.rule = [](const std::string& name) {
            const bool setByName = NameIsOneOf(name, {"MG65_DITTA_CG18", "MG65_CODBARCODE", "MG65_CODART_MG66",
                                                      "MG65_PROGDA", "MG65_PROGA", "MG65_FLGCHECKDIG"});
            const bool leftToDefault = NameIsOneOf(name, {"MG65_IDMEDIA_CG99", "MG65_LASTCHANGE"});
            return setByName || leftToDefault ? FieldAction::Skip : FieldAction::Copy;
        };

        plan.accept = [&](db::Recordset& source) {
            barcode = source["MG65_CODBARCODE"].Value().Text();
            type = {};
            const std::string typeNumber = entry::Pfun_Numero(source["MG65_TIPOBARCODE_MG4B"].Value());
            auto params = ConstantRows(
                constants_.get(), *connection,
                "SELECT MG4B_STINDMODALITA, MG4B_STULTNUMDA, MG4B_STULTNUMA, MG4B_STFLGCHECKDIG FROM "
                "MG4B_PARMAGBARCODE WHERE MG4B_DITTA_CG18 = " + company + " AND MG4B_INDBARCODE = " + typeNumber);
            if (params->RecordCount() > 0) {
                params->MoveFirst();
                if (Generates((*params)["MG4B_STINDMODALITA"].Value(), (*params)["MG4B_STFLGCHECKDIG"].Value(),
                              db::Variant(typeNumber).CDbl())) {
                    type.lower = (*params)["MG4B_STULTNUMDA"].Value().CInt();
                    type.upper = (*params)["MG4B_STULTNUMA"].Value().CInt();
                    barcode = generator->Genera(
                        0, ditta_, entry::Pfun_Testo(source["MG65_CODART_MG66"].Value()),
                        db::Variant(entry::Pfun_Numero(source["MG65_INDTIPOGEST"].Value())).CInt(),
                        db::Variant(entry::Pfun_Numero((*params)["MG4B_STFLGCHECKDIG"].Value())).CInt(),
                        db::Variant(typeNumber).CInt(), type.lower, type.upper);
                    type.checkDigit = db::Variant(entry::Pfun_Numero((*params)["MG4B_STFLGCHECKDIG"].Value())).CInt();
                    type.automatic = true;
                }
            }
            params->Close();
            if (!type.automatic) return false;
            // A code already in use in the company (any article) is left out, whichever generator made it.
            auto existing = connection->Execute("SELECT * FROM MG65_BARCODE WHERE  MG65_DITTA_CG18 = " + company +
                                                    " AND MG65_CODBARCODE = '" + db::SqlEscape(barcode) + "'",
                                                nullptr, db::kCommonSqlText);
            return existing->RecordCount() == 0;
        };
        plan.complete = [&](db::Recordset&, db::Recordset& target) {
            target["MG65_DITTA_CG18"].Value(ditta_);
            target["MG65_CODBARCODE"].Value(db::Variant(barcode));
            target["MG65_CODART_MG66"].Value(db::Variant(Articolo_DaGenerare.Text()));
            target["MG65_PROGDA"].Value(db::Variant(type.lower));
            target["MG65_PROGA"].Value(db::Variant(type.upper));
            target["MG65_FLGCHECKDIG"].Value(db::Variant(type.checkDigit));
        };
        plan.written = [&](db::Recordset& target) {
            generator->RegistraUtilizzo(ditta_,
                                        db::Variant(entry::Pfun_Numero(target["MG65_INDTIPOGEST"].Value())).CInt(),
                                        db::Variant(entry::Pfun_Numero(target["MG65_TIPOBARCODE_MG4B"].Value())).CInt());
        };
        RowCopy(*this).Run(plan);
        return kvMethodOK;
    });
}

}  // namespace engine
