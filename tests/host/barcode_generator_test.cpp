// The shell's barcode numbering: a code never grows past its type's length.
#include <gtest/gtest.h>

#include "Queries.h"
#include "host/BarcodeGenerator.h"

namespace {

TEST(BarcodeGenerator, TheNumberingEndsWithTheLastNumberThatFitsTheTypesLength) {
    auto conn = testsupport::EmptyCompany();
    // Both types leave one digit for the number in a code of 8: type 1 beside its check digit, type 2 alone.
    testsupport::Exec(*conn, "INSERT INTO MG4B_PARMAGBARCODE (MG4B_DITTA_CG18, MG4B_INDBARCODE, MG4B_STINDMODALITA, "
                             "MG4B_STULTNUMDA, MG4B_STULTNUMA, MG4B_STFLGCHECKDIG, MG4B_LUNGHEZZA, MG4B_PREFISSO) "
                             "VALUES (1, 1, 2, 8, 999, 1, 8, '801234'), (1, 2, 2, 8, 999, 0, 8, '2000000')");
    host::BarcodeGenerator generator;
    generator.Connection(conn);
    const struct {
        std::int16_t type, checkDigit;
        std::string prefix;
    } types[] = {{1, 1, "801234"}, {2, 0, "2000000"}};
    for (const auto& t : types) {
        SCOPED_TRACE(t.type);
        const auto generate = [&] {
            return generator.Genera(0, db::Variant(1), "SRC", 1, t.checkDigit, t.type, 8, 999);
        };
        for (const char* number : {"8", "9"}) {
            const std::string digits = t.prefix + number;
            EXPECT_EQ(generate(), t.checkDigit ? digits + host::Gs1CheckDigit(digits) : digits);
        }
        try {
            ADD_FAILURE() << "a code longer than the type allows: " << generate();
        } catch (const db::Error& e) {
            EXPECT_NE(e.Description().find("Numerazione esaurita per il barcode di tipo " + std::to_string(t.type) +
                                           " (gestione 1): dal numero 10 il codice supera la lunghezza del tipo (8)"),
                      std::string::npos) << e.Description();
        }
        EXPECT_EQ(testsupport::Count(*conn, "SELECT MG4C_ULTNUM FROM MG4C_NUMBARCODE WHERE MG4C_TIPOBARCODE_MG4B = " +
                                                std::to_string(t.type)), 9);
    }
}

}  // namespace
