// Shared lookups of the demo company: languages, customers and suppliers, article classification, the
// fashion tables (product kinds, typologies, lines, brands) and the entities that own attributes.
#include "erp/DemoData.h"

namespace erp::demo {
namespace {

void AddLanguages(Writer& w) {
    // The blank language is the standard description.
    w.Insert("MG52_LINGUE", {{"MG52_CODICE", "MG52_DESCR"},
                             {{" ", "Italiano"}, {"EN", "English"}, {"DE", "Deutsch"}, {"FR", "Français"}}});
}

void AddCustomersAndSuppliers(Writer& w) {
    w.Insert("CG44_CLIFOR", {{"CG44_TIPOCF", "CG44_CLIFOR", "CG44_RAGSOC", "CG44_PARTIVA"},
                             {
                                 {0, 1001, "Boutique Milano Moda S.r.l.", "IT01234560157"},
                                 {0, 1002, "Grandi Magazzini Roma S.p.A.", "IT02345670581"},
                                 {0, 1003, "Modehaus Becker GmbH", "DE123456789"},
                                 {1, 2001, "Tessitura Comasca S.p.A.", "IT03456780134"},
                                 {1, 2002, "Lanificio Biellese S.r.l.", "IT04567890021"},
                                 {1, 2003, "Bottonificio Veneto S.n.c.", "IT05678900288"},
                                 {1, 2004, "Confezioni Adriatiche S.r.l.", "IT06789010423"},
                             }});
}

void AddClassification(Writer& w) {
    w.Insert("MG53_FAMIGLIE", {{"MG53_CODICE", "MG53_DESCR"},
                               {{"CAM", "Camicie"}, {"PAN", "Pantaloni"}, {"GIA", "Giacche"},
                                {"TES", "Tessuti"}, {"ACC", "Accessori e merceria"}}});
    w.Insert("MG54_SOTTOFAMIGLIE", {{"MG54_FAM_MG53", "MG54_CODICE", "MG54_DESCR"},
                                    {{"CAM", "UOMO", "Camicie uomo"}, {"CAM", "DONNA", "Camicie donna"},
                                     {"PAN", "UOMO", "Pantaloni uomo"}, {"GIA", "DONNA", "Giacche donna"},
                                     {"TES", "NAT", "Fibre naturali"}, {"ACC", "MERC", "Merceria"}}});
    w.Insert("MG55_GRUPPI", {{"MG55_FAM_MG53", "MG55_SFAM_MG54", "MG55_CODICE", "MG55_DESCR"},
                             {{"CAM", "UOMO", "CLASS", "Classiche"}, {"CAM", "UOMO", "CASUAL", "Casual"},
                              {"PAN", "UOMO", "CHINO", "Chino"}, {"PAN", "UOMO", "DENIM", "Denim"},
                              {"GIA", "DONNA", "BLAZER", "Blazer"}, {"CAM", "DONNA", "BLUSA", "Bluse"},
                              {"TES", "NAT", "COT", "Cotone"},
                              {"TES", "NAT", "LIN", "Lino"}, {"TES", "NAT", "SET", "Seta"},
                              {"TES", "NAT", "LAN", "Lana"}, {"ACC", "MERC", "BOT", "Bottoni"},
                              {"ACC", "MERC", "FIL", "Filati"}, {"ACC", "MERC", "ETI", "Etichette e imballi"}}});
    w.Insert("MG56_SOTTOGRUPPI", {{"MG56_FAM_MG53", "MG56_SFAM_MG54", "MG56_GRUPPO_MG55", "MG56_CODICE", "MG56_DESCR"},
                                  {{"CAM", "UOMO", "CLASS", "ML", "Manica lunga"},
                                   {"CAM", "UOMO", "CLASS", "MC", "Manica corta"},
                                   {"CAM", "UOMO", "CASUAL", "ML", "Manica lunga"}}});
    w.Insert("MG74_GRUSTAT1", {{"MG74_CODICE", "MG74_DESCR"}, {{"PE", "Primavera/Estate"}, {"AI", "Autunno/Inverno"}}});
    w.Insert("MG75_GRUSTAT2", {{"MG75_CODICE", "MG75_DESCR"}, {{"CONTINUATIVO", "Continuativo"}, {"MODA", "Moda"}}});
    w.Insert("MG76_GRUSTAT3", {{"MG76_CODICE", "MG76_DESCR"}, {{"FASCIA-A", "Fascia prezzo alta"},
                                                              {"FASCIA-B", "Fascia prezzo media"}}});
    w.Insert("MG77_GRUSTAT4", {{"MG77_CODICE", "MG77_DESCR"}, {{"ITALIA", "Mercato Italia"}, {"EXPORT", "Export"}}});
}

void AddFashionLookups(Writer& w) {
    w.Insert("FA03_TIPIPRODOTTO", {{"FA03_CODICE", "FA03_DESCR"},
                                   {{"PF", "Prodotto finito"}, {"TS", "Tessuto"}, {"AC", "Accessorio"}}});
    w.Insert("FA04_TIPOLOGIE", {{"FA04_CODICE", "FA04_TIPO_FA03", "FA04_DESCR"},
                                {
                                    {"CAMICIA", "PF", "Camicia"},
                                    {"PANTALONE", "PF", "Pantalone"},
                                    {"GIACCA", "PF", "Giacca"},
                                    {"POPELINE", "TS", "Popeline"},
                                    {"TELA", "TS", "Tela"},
                                    {"RASO", "TS", "Raso"},
                                    {"FLANELLA", "TS", "Flanella"},
                                    {"MERCERIA", "AC", "Merceria"},
                                }});
    w.Insert("FA05_LINEE", {{"FA05_CODICE", "FA05_DESCR"},
                            {{"UOMO-CLASSIC", "Uomo classico"}, {"UOMO-SPORT", "Uomo sportivo"},
                             {"DONNA", "Donna"}, {"TESSUTI", "Tessuti e materiali"}}});
    w.Insert("FA06_MARCHI", {{"FA06_CODICE", "FA06_DESCR"},
                             {{"ALTA-SARTORIA", "Alta Sartoria"}, {"MARE-BLU", "Mare Blu"}, {"URBAN", "Urban Line"}}});
    w.Insert("FA11_ENTITA", {{"FA11_ENTITA", "FA11_DESCR"},
                             {{0, "Descrizione articolo"}, {1, "Scheda tecnica"}}});
}

}  // namespace

void AddLookups(Writer& w) {
    AddLanguages(w);
    AddCustomersAndSuppliers(w);
    AddClassification(w);
    AddFashionLookups(w);
}

}  // namespace erp::demo
