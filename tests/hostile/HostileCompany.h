#pragma once
// The demo company in memory, its processing logs in a folder of the tests' own, and a program reading
// its settings: where the in-process hostile tests run, one value of the list per test.
#include <gtest/gtest.h>

#include <filesystem>

#include "GenerationFixture.h"
#include "HostileValues.h"

namespace hostile {

class HostileCompany : public testsupport::GenerationFixture, public ::testing::WithParamInterface<HostileValue> {
protected:
    void SetUp() override {
        GenerationFixture::SetUp();
        const auto folder = std::filesystem::path(::testing::TempDir()) / "agganci-hostile";
        std::filesystem::create_directories(folder);
        testsupport::SetCompanySetting(*conn, 1, "CartellaLog", folder.string() + "/");
        contesto.programma = program = testsupport::ProgramOnDatabase(conn);
    }
};

}  // namespace hostile
