// agganci_bench: duplication of articles through the component against a set-based floor, at several
// database sizes. Prints the figures; --write-doc puts them into docs/PERFORMANCE.md.
//
// Exit status: 0 when every article was duplicated and no statement of the component reads a company
// table without an index; 1 otherwise. The timing and memory targets are reported, and fail the run only
// with --strict: on a shared machine they are measurements, not facts.
#include <CLI/CLI.hpp>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "bench/BenchRun.h"
#include "bench/PeakMemory.h"
#include "bench/Report.h"
#include "erp/Procedures.h"
#include "host/HostFactory.h"

namespace {

std::string CommandLine(int argc, char** argv) {
    std::string command = "agganci_bench";
    for (int i = 1; i < argc; ++i) command += std::string(" ") + argv[i];
    return command;
}

// A folder of our own under the system's temporary folder, removed at the end unless kept.
std::filesystem::path MakeFolder(const std::string& requested) {
    if (!requested.empty()) {
        std::filesystem::create_directories(requested);
        return requested;
    }
    auto base = std::filesystem::temp_directory_path();
    for (int i = 0;; ++i) {
        auto folder = base / ("agganci-bench-" + std::to_string(::getpid()) + "-" + std::to_string(i));
        if (std::filesystem::create_directory(folder)) return folder;
    }
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Duplication benchmark: the component against a set-based reference, at several database sizes"};
    bool quick = false, strict = false, keep = false, noMassRuns = false;
    std::vector<long> sizes;
    long articles = 0, planArticles = 5, block = 100, runArticles = 0;
    std::string folderOption, document;
    app.add_flag("--quick", quick, "Smaller sizes for CI: 1,000 and 10,000 articles, 300 duplicated");
    app.add_option("--sizes", sizes, "Articles in the databases (default 1000 10000 100000)")->delimiter(',');
    app.add_option("--articles", articles, "Articles duplicated by each method at each size (default 1000)");
    app.add_option("--block", block,
                   "Articles per turn of each method: the component's mass run pauses for the reference's turn "
                   "(default 100)")
        ->check(CLI::PositiveNumber);
    app.add_option("--run-articles", runArticles,
                   "Articles per mass run of the component (default: one run of all the duplicated articles; "
                   "equal to --block, a run per turn)")
        ->check(CLI::PositiveNumber);
    app.add_option("--plan-articles", planArticles, "Articles duplicated under the statement-plan check");
    app.add_option("--dir", folderOption, "Folder for the databases and logs (default: a new temporary folder)");
    app.add_flag("--keep", keep, "Keep the databases and logs");
    app.add_option("--write-doc", document, "Write the figures into this Markdown file (between the markers)");
    app.add_flag("--no-mass-runs", noMassRuns,
                 "Skip the whole mass runs of 1,000 and 10,000 articles whose peak memory is compared");
    app.add_flag("--strict", strict, "Also fail when a timing or memory target is missed");
    CLI11_PARSE(app, argc, argv);

    if (sizes.empty()) sizes = quick ? std::vector<long>{1000, 10000} : std::vector<long>{1000, 10000, 100000};
    if (articles <= 0) articles = quick ? 300 : 1000;
    for (long size : sizes) {
        if (size < articles) {
            std::cerr << "agganci_bench: a database of " << size << " articles cannot provide " << articles
                      << " sources\n";
            return 2;
        }
    }

    erp::RegisterProcedures();
    host::InstallShellHost();
    const auto folder = MakeFolder(folderOption);
    std::vector<bench::SizeResult> results;
    try {
        for (long size : sizes) {
            std::cerr << "agganci_bench: " << size << " articles...\n";
            bench::RunSettings settings;
            settings.databaseArticles = size;
            settings.duplicated = articles;
            settings.planArticles = planArticles;
            settings.block = block;
            settings.runArticles = runArticles;
            settings.folder = folder.string();
            settings.keepDatabase = keep;
            // The memory of whole runs is compared on the 10,000-article database: a run of 1,000 and of 10,000.
            if (size == 10000 && !noMassRuns) settings.massRunArticles = {1000, 10000};
            results.push_back(bench::RunSize(settings));
        }
    } catch (const std::exception& e) {
        std::cerr << "agganci_bench: " << e.what() << "\n";
        if (!keep && folderOption.empty()) std::filesystem::remove_all(folder);
        return 1;
    }
    if (!keep && folderOption.empty()) std::filesystem::remove_all(folder);

    const bench::Targets targets;
    const bench::Verdict verdict = bench::Judge(results, targets);
    const std::string report =
        bench::FormatReport(results, targets, verdict, CommandLine(argc, argv), bench::PeakRssKb());
    std::cout << report;
    if (!document.empty()) bench::WriteIntoDocument(document, report);

    bool ok = verdict.Deterministic();
    if (strict) ok = ok && verdict.ratio && verdict.flat && verdict.memory && verdict.rate && verdict.massMemory;
    return ok ? 0 : 1;
}
