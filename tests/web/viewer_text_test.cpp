// What the browser's file viewer shows of a file past its limit: the end, from a whole line, under a line
// saying the file was cut and how to get all of it.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "host/web/FormSession.h"

namespace {

TEST(ViewerText, AFilePastTheLimitShowsItsLastWholeLinesUnderANote) {
    const auto path = std::filesystem::temp_directory_path() / ("viewer_text_" + std::to_string(getpid()) + ".txt");
    const std::string whole = "first line\nsecond line\nthird line\n";
    std::ofstream(path) << whole;
    const std::string note = "--- Il file è troppo lungo per mostrarlo tutto: seguono le sue ultime righe. ";
    EXPECT_EQ(host::web::ViewerText(path.string(), whole.size(), true), whole);
    // Cut inside "second line": the text starts with the next line.
    EXPECT_EQ(host::web::ViewerText(path.string(), 15, true),
              note + "Il file intero si ottiene con «Scarica». ---\nthird line\n");
    // Cut right after a line end: that whole line stays. Without a download the note names the file.
    EXPECT_EQ(host::web::ViewerText(path.string(), 23, false),
              note + "Il file intero è " + path.string() + ". ---\nsecond line\nthird line\n");
    std::filesystem::remove(path);
}

}  // namespace
