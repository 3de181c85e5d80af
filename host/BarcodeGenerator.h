#pragma once
// Automatic barcode numbering: per company, management type and barcode type, within the type's bounds.
// The last number used is kept in MG4C_NUMBARCODE on the caller's connection, so it moves with the
// caller's transaction: a rolled-back article gives its numbers back.
#include <string>

#include "entry/HostInterfaces.h"

namespace host {

class BarcodeGenerator : public entry::IBarcodeGenerator {
public:
    void Connection(const db::ConnectionPtr& c) override { connection_ = c; }
    void ActiveInterface(const db::Variant& program) override { program_ = program; }

    // Takes the next free number of the type (reserving it at once, so two calls never give the same
    // code) and returns prefix + number + GS1 check digit when the flag asks for one. A number whose code
    // is already a barcode of the company is passed over. Error when the range is exhausted, or when the next
    // number's code would be longer than the type's length.
    std::string Genera(long zero, const db::Variant& ditta, const std::string& articolo, std::int16_t tipoGestione,
                       std::int16_t flagCheckDigit, std::int16_t tipoBarcode, std::int16_t progDa,
                       std::int16_t progA) override;

    // The number Genera reserved is already recorded; this stamps the numbering row, which Genera has done
    // already when it was the last to move that row on.
    void RegistraUtilizzo(const db::Variant& ditta, std::int16_t tipoGestione, std::int16_t tipoBarcode) override;

private:
    db::ConnectionPtr connection_;
    db::Variant program_;
    std::string stamped_;  // the condition of the numbering row the last Genera moved on and stamped
};

// GS1 check digit (EAN-8/13, UPC, GTIN-14) of a string of digits.
char Gs1CheckDigit(const std::string& digits);

}  // namespace host
