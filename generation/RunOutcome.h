#pragma once
// What a run did, as data: per link row or selected article the new code, what became of it and why, and
// the answers the user gave. Callers count and report from here, never from the processing log.
#include <string>
#include <utility>
#include <vector>

namespace generation {

enum class ArticleState {
    Created,           // the article was written
    AlreadyGenerated,  // the link row has its article and regeneration was not asked for
    AlreadyExists,     // an article with the new code exists (a link row records it)
    CodeTooLong,       // the code is longer than the company allows and was not truncated
    NotGenerated,      // refused or failed: nothing of it is left
};

// "created", "already generated", "already exists", "code too long", "not generated".
const char* StateName(ArticleState state);

struct ArticleOutcome {
    std::string item;     // the link fabric, or the selected article's code
    std::string source;   // the article copied
    std::string newCode;  // "" when none could be composed
    ArticleState state = ArticleState::NotGenerated;
    std::string reason;   // why it was not created ("" when it was)
    bool recorded = false;  // the code was written on the link row
};

struct RunOutcome {
    bool started = false;      // the run got past its checks and walked its rows
    bool completed = false;    // every row was walked (no error left the run)
    std::string stopReason;    // why the run did not start or stopped
    bool interrupted = false;  // stopped on request (RunStop.h) between two rows
    std::vector<ArticleOutcome> articles;
    std::vector<std::pair<std::string, long>> answers;  // question asked, answer given

    long Count(ArticleState state) const;
};

}  // namespace generation
