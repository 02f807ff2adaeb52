// t4k_copy_tail: a copy of a text that may point into the middle of a runtime string or a plain
// heap copy, at odd and even offsets, measured as the text it is.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "runtime/runtime.h"

namespace {
constexpr const char* TEXT = "MARKUP foreground: blue, weight: 700";

TEST(Tail, InteriorPointersOfBothKindsCopyTheirOwnText) {
    char* runtime = t4k_copy_tail(nullptr, TEXT);
    char* plain = __t4k__strdup(TEXT);
    ASSERT_TRUE(t4k_is_runtime(runtime));
    for (char* block : {runtime, plain}) {
        for (size_t offset = 1; offset < 10; ++offset) {
            char* copy = t4k_copy_tail(nullptr, block + offset);
            EXPECT_STREQ(copy, TEXT + offset);
            EXPECT_EQ(__t4k__len(copy), std::strlen(TEXT + offset));
            __t4k__free(copy);
        }
    }
    __t4k__free(runtime);
    std::free(plain);
}

TEST(Tail, NullReleasesAndATailOfTheVariableItselfIsKept) {
    char* x = t4k_copy_tail(nullptr, TEXT);
    char* kept = x;
    x = t4k_copy_tail(x, x + 7);
    EXPECT_EQ(x, kept);
    EXPECT_STREQ(x, "foreground: blue, weight: 700");
    EXPECT_EQ(__t4k__len(x), std::strlen(x));
    EXPECT_EQ(t4k_copy_tail(x, nullptr), nullptr);
}
}  // namespace
