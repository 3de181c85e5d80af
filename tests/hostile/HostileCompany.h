#pragma once
// The demo company in memory, its processing logs in a folder of the tests' own, and a program reading
// its settings: where the in-process hostile tests run, one value of the list per test.
#include <gtest/gtest.h>

#include <string>

#include "GenerationFixture.h"
#include "HostileValues.h"
#include "db/Quote.h"

namespace hostile {

class HostileCompany : public testsupport::GenerationFixture, public ::testing::WithParamInterface<HostileValue> {
protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        UseLogFolder("agganci-hostile");
    }

    // A column of the article's standard description; "<n rows>" unless there is exactly one.
    std::string StoredDescription(const std::string& code, const std::string& column = "MG87_DESCART") {
        auto rs = conn->Execute("SELECT " + column + " FROM MG87_ARTDESC WHERE MG87_CODART_MG66 = " +
                                db::SqlText(code) + " AND MG87_LINGUA_MG52 = ' ' AND MG87_OPZIONE_MG5E = ' '");
        if (rs->RecordCount() != 1) return "<" + std::to_string(rs->RecordCount()) + " rows>";
        rs->MoveFirst();
        return rs->GetFields().Item(0L).Value().Text();
    }
};

}  // namespace hostile
