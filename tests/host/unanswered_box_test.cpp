// A box nobody can answer any more (the browser shell releasing a form) takes the answer that closes it
// without going ahead, whatever its default button says.
#include <gtest/gtest.h>

#include "host/ScriptedMessageService.h"

using host::ScriptedMessageService;

TEST(UnansweredBox, ClosesWithoutGoingAheadWhateverTheDefaultButton) {
    const std::pair<long, long> styleAnswer[] = {
        {0, 1},          // OK
        {1, 2},          // OK, Cancel: Cancel
        {2 + 256, 3},    // Abort, Retry (default), Ignore: Abort
        {4370, 3},       // the component's error box (Retry by default): Abort
        {3, 2},          // Yes, No, Cancel: Cancel
        {4 + 32, 7},     // the generation's question, Yes by default: No
        {4 + 256, 7},    // Yes, No (default): No
        {5, 2},          // Retry, Cancel: Cancel
    };
    for (const auto& [style, answer] : styleAnswer)
        EXPECT_EQ(ScriptedMessageService::DismissAnswer(style), answer) << style;
}
