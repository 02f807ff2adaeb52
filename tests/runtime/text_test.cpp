// String functions: edge behaviour, fallbacks, and their error reports checked in a child process.
#include <gtest/gtest.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <limits>
#include <string>

#include "runtime/runtime.h"
#include "tests/runtime/child.h"

using t4k_test::run_in_child;

namespace {

constexpr const char* unit = "test.vmt";

std::string text(const char* p) { return p ? std::string(p) : std::string("<null>"); }

TEST(Chop, TrimsByWhereAndSet) {
    T4K_FUNCTION(chop_cases);
    EXPECT_EQ(text(__t4k__chop("  a b \n", nullptr, 2)), "a b");  // no set: both ends
    EXPECT_EQ(text(__t4k__chop("abcab", "ab", 1)), "cab");
    EXPECT_EQ(text(__t4k__chop("abcab", "ab", 2)), "abc");
    EXPECT_EQ(text(__t4k__chop("abcab", "ab", 3)), "abcab");
    EXPECT_EQ(text(__t4k__chop("abcab", "ab", -1)), "abcab");
    EXPECT_EQ(text(__t4k__chop("abcab", "", 0)), "abcab");
    EXPECT_EQ(text(__t4k__chop("ababx", "ab", 2)), "ababx");
    EXPECT_EQ(text(__t4k__chop(nullptr, nullptr, 0)), "<null>");
}

TEST(Chop, GivesEmptyStringOrItsOwnArgumentForEmptyResults) {
    T4K_FUNCTION(chop_empty);
    EXPECT_EQ(__t4k__chop(" \t \t", nullptr, 0), EmptyString);
    EXPECT_EQ(__t4k__chop("abab", "ab", 1), EmptyString);
    char empty[] = "";
    EXPECT_EQ(__t4k__chop(empty, nullptr, 0), empty);
    char* end_trimmed = __t4k__chop("abab", "ab", 2);  // an end trim makes an empty temporary
    EXPECT_STREQ(end_trimmed, "");
    EXPECT_NE(end_trimmed, EmptyString);
}

TEST(Concat, JoinsUntilTheFirstNullAndGrowsItsTemporary) {
    T4K_FUNCTION(concat_cases);
    EXPECT_STREQ(__t4k__concat("a", "b", nullptr, "c", nullptr), "ab");
    EXPECT_STREQ(__t4k__concat(nullptr, "x", "y", nullptr), "xy");
    EXPECT_STREQ(__t4k__concat("", nullptr), "");
    std::string expected;
    char* joined = __t4k__concat("", nullptr);
    for (int i = 0; i < 50; ++i) {
        char* part = __t4k__str(i * 1000);
        joined = __t4k__concat(joined, part, " ", nullptr);
        expected += std::to_string(i * 1000) + " ";
    }
    EXPECT_EQ(joined, expected);
    EXPECT_EQ(__t4k__len(joined), expected.size());
}

// C callers and pointers to the function reach the argument-list form; it joins alike.
TEST(Concat, ArgumentListFormJoinsAlike) {
    T4K_FUNCTION(concat_list_cases);
    char* (*const by_list)(const char*, ...) = __t4k__concat;
    EXPECT_STREQ(by_list("a", "b", nullptr, "c", nullptr), "ab");
    EXPECT_STREQ(by_list(nullptr, "x", "y", nullptr), "xy");
    char* word = __t4k_Copy_String(nullptr, "word");
    char* joined = by_list("<", word, ">", nullptr);
    EXPECT_STREQ(joined, "<word>");
    EXPECT_EQ(__t4k__len(joined), 6u);
    __t4k__free(word);
}

TEST(Dec, ReadsHexadecimalAndBinaryText) {
    EXPECT_EQ(__t4k__hex2dec(1, unit, "ff", 0), 255);
    EXPECT_EQ(__t4k__hex2dec(1, unit, "  0x1F", 0), 31);
    EXPECT_EQ(__t4k__hex2dec(1, unit, "zz", 0), 0);
    EXPECT_EQ(__t4k__hex2dec(1, unit, "FFFFFFFF", 0), -1);
    EXPECT_EQ(__t4k__hex2dec(1, unit, "101", 1), 5);
    EXPECT_EQ(__t4k__hex2dec(1, unit, "", 1), 0);
    EXPECT_EQ(__t4k__hex2dec(1, unit, nullptr, 1), 0);
    EXPECT_EQ(__t4k__hex2dec(1, unit, std::string(32, '1').c_str(), 1), -1);
    EXPECT_EQ(__t4k__hex2dec(1, unit, ("11" + std::string(31, '0')).c_str(), 1), INT32_MIN);  // top bit lost
}

TEST(Dec, EmptyHexadecimalAndBadBinaryDigitsAreError5) {
    auto empty = run_in_child([] {
        errno = 0;
        __t4k__hex2dec(17, "kelvado.vmt", " \t", 0);
    });
    EXPECT_EQ(empty.status, 5);
    EXPECT_EQ(empty.out, "");
    EXPECT_EQ(empty.err, "Runtime error: function 'DEC' at line 17 in 'kelvado.vmt': Wrong value: Success\n");

    auto digits = run_in_child([] {
        __t4k__trap = 0;  // binary digits are checked whatever the trap flag says
        errno = 0;
        __t4k__hex2dec(4, "wex.vmt", "12", 1);
    });
    EXPECT_EQ(digits.status, 5);
    EXPECT_EQ(digits.err, "Runtime error: function 'DEC' at line 4 in 'wex.vmt': Wrong value: Success\n");

    auto unchecked = run_in_child([] {
        __t4k__trap = 0;
        std::exit(__t4k__hex2dec(4, "wex.vmt", "", 0));
    });
    EXPECT_EQ(unchecked.status, 0);
    EXPECT_EQ(unchecked.err, "");
}

TEST(Path, BaseNameDirectoryNameAndExtensionParts) {
    T4K_FUNCTION(path_cases);
    struct Case {
        int which;
        const char* path;
        int part;
        const char* expected;
    };
    const Case cases[] = {
        {1, "/a/b.tar.gz", 0, "b.tar.gz"},
        {1, "/a/b.tar.gz", 1, "b.tar"},
        {1, "/a/b.tar.gz", 2, "gz"},
        {1, "/usr/lib/libgtk-x11-2.0.so.0", 1, "libgtk-x11-2.0.so"},
        {1, "/usr/lib/libgtk-x11-2.0.so.0", 2, "0"},
        {1, "dir/.hidden", 1, ""},
        {1, "noext", 1, "noext"},
        {1, "noext", 2, ""},
        {1, "/a/b/", 0, "b"},
        {1, "/a/b.c", 7, "b.c"},
        {2, "/a/b", 0, "/a"},
        {2, "b", 0, "."},
        {2, "/", 0, "/"},
        {3, "/a/b", 0, ""},
        {0, "/", 0, "/"},
    };
    for (const Case& c : cases) {
        char* result = __t4k__dirname(1, unit, c.which, c.path, c.part);
        EXPECT_STREQ(result, c.expected) << c.which << " " << c.path << " " << c.part;
        EXPECT_EQ(__t4k__len(result), std::strlen(c.expected));
    }
    EXPECT_EQ(__t4k__dirname(1, unit, 2, "", 0), EmptyString);
    EXPECT_EQ(__t4k__dirname(1, unit, 1, nullptr, 0), EmptyString);
    std::string deep(6000, 'd');
    EXPECT_EQ(__t4k__len(__t4k__dirname(1, unit, 1, deep.c_str(), 0)), 4095u);
}

TEST(Path, RealpathFailureIsError26OrAFixedTextWithoutTheTrap) {
    auto report = run_in_child([] { __t4k__dirname(30, "plimsy.vmt", 0, "/no/such/place", 0); });
    EXPECT_EQ(report.status, 26);
    EXPECT_EQ(report.out, "");
    EXPECT_EQ(report.err, std::string("Runtime error: function 'REALPATH$' at line 30 in 'plimsy.vmt': ") +
                              "Cannot return name: " + std::strerror(ENOENT) + "\n");
    T4K_FUNCTION(realpath_untrapped);
    __t4k__trap = 0;
    EXPECT_STREQ(__t4k__dirname(1, unit, 0, "/no/such/place", 0), "Error getting real path");
    __t4k__trap = 1;
}

TEST(Instr, FindsFromAStartPosition) {
    EXPECT_EQ(__t4k__instr(1, unit, "abcabc", "c", 4), 6);
    EXPECT_EQ(__t4k__instr(1, unit, "abcabc", "c", 0), 3);
    EXPECT_EQ(__t4k__instr(1, unit, "abcabc", "c", -5), 3);
    EXPECT_EQ(__t4k__instr(1, unit, "abcabc", "c", 6), 6);
    EXPECT_EQ(__t4k__instr(1, unit, "abcabc", "c", 7), 0);
    EXPECT_EQ(__t4k__instr(1, unit, "abcabc", "bcx", 1), 0);
    EXPECT_EQ(__t4k__instr(1, unit, "abcabc", "", 1), 0);
    EXPECT_EQ(__t4k__instr(1, unit, nullptr, "a", 1), 0);
    EXPECT_EQ(__t4k__instr(1, unit, "abc", nullptr, 1), 0);
    EXPECT_EQ(__t4k__instr(1, unit, "aXa", "x", 1), 0);
}

TEST(Cut, LeftRightAndMidByBytes) {
    T4K_FUNCTION(cut_cases);
    EXPECT_EQ(text(__t4k__left(1, unit, "abc", 5)), "abc");
    EXPECT_EQ(text(__t4k__left(1, unit, "abc", static_cast<unsigned>(-1))), "abc");
    EXPECT_EQ(text(__t4k__left(1, unit, "abc", 0)), "");
    EXPECT_EQ(text(__t4k__left(1, unit, "abc", 2)), "ab");
    EXPECT_EQ(text(__t4k__left(1, unit, nullptr, 2)), "<null>");
    EXPECT_EQ(text(__t4k__right(1, unit, "abc", 2)), "bc");
    EXPECT_EQ(text(__t4k__right(1, unit, "abc", static_cast<unsigned>(-3))), "abc");
    EXPECT_EQ(text(__t4k__right(1, unit, nullptr, 2)), "<null>");
    struct Case {
        const char* text;
        int start, count;
        const char* expected;
    };
    const Case cases[] = {
        {"abcdef", 2, 3, "bcd"}, {"abcdef", 0, -1, ""},   {"abcdef", -2, -1, "ef"},
        {"abc", 4, -1, ""},      {"abc", 5, -1, ""},      {"0123456789", 8, -1, "789"},
        {"0123456789", 8, 5, "789"}, {"0123456789", 11, -1, ""}, {"0123456789", -3, -1, "789"},
        {"abc", -10, -1, "abc"}, {"abc", -10, 2, "ab"},  {"abc", INT32_MIN, INT32_MAX, "abc"},
        {"abc", INT32_MAX, 1, ""}, {"abc", 2, 0, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(text(__t4k__mid(1, unit, c.text, c.start, c.count)), c.expected) << c.text << " " << c.start;
    EXPECT_EQ(__t4k__mid(1, unit, nullptr, 1, 1), EmptyString);
    EXPECT_EQ(__t4k__mid(1, unit, "abc", 5, 1), EmptyString);
}

TEST(Numbers, StrWritesWholeNumbersAs32BitIntegers) {
    T4K_FUNCTION(str_cases);
    struct Case {
        double number;
        const char* expected;
    };
    const Case cases[] = {
        {3, "3"},          {2.5, "2.5"},         {-0.0, "0"},
        {1e20, "-2147483648"}, {0.1 + 0.2, "0.3"}, {-7, "-7"},
        {2147483647, "2147483647"}, {2147483648.0, "-2147483648"}, {1.0 / 0.0, "-2147483648"},
        {std::numeric_limits<double>::quiet_NaN(), "nan"}, {1234567.5, "1.23457e+06"},
    };
    for (const Case& c : cases) {
        char* s = __t4k__str(c.number);
        EXPECT_STREQ(s, c.expected);
        EXPECT_EQ(__t4k__len(s), std::strlen(c.expected));
    }
    EXPECT_DOUBLE_EQ(__t4k__val("  12.5kg"), 12.5);
    EXPECT_DOUBLE_EQ(__t4k__val("kg"), 0.0);
    EXPECT_DOUBLE_EQ(__t4k__val(nullptr), 0.0);
}

TEST(System, OsGivesSystemAndMachineNames) {
    T4K_FUNCTION(os_case);
    struct utsname names;
    ASSERT_EQ(uname(&names), 0);
    EXPECT_EQ(text(__t4k__os(1, unit)), std::string(names.sysname) + " " + names.machine);
}

class Utf8 : public ::testing::Test {
protected:
    void SetUp() override { __t4k__option_utf8 = 1; }
    void TearDown() override { __t4k__option_utf8 = 0; }
};

// "hé€𝄞x": widths 1, 2, 3, 4, 1 (11 bytes, 5 characters)
const char* const mixed = "h\xC3\xA9\xE2\x82\xAC\xF0\x9D\x84\x9E" "x";

TEST_F(Utf8, CountersMeasureCharactersByLeadBytes) {
    EXPECT_EQ(__t4k__ulen(1, unit, "ULEN", mixed, -1), 5);
    EXPECT_EQ(__t4k__ulen(1, unit, "ULEN", mixed, 4), 3);  // 'h', 'é' and the euro's first byte
    EXPECT_EQ(__t4k__ucs2_clen(1, unit, "LEN", mixed, 100), 5);
    EXPECT_EQ(__t4k__ucs2_clen(1, unit, "LEN", mixed, 0), 0);
    EXPECT_EQ(__t4k__blen(1, unit, "BYTELEN", mixed, 3, 0), 6);
    EXPECT_EQ(__t4k__blen(1, unit, "BYTELEN", mixed, 2, 1), 5);
    EXPECT_EQ(__t4k__blen(1, unit, "BYTELEN", mixed, 9, 1), 11);
    EXPECT_EQ(__t4k__blen(1, unit, "BYTELEN", mixed, 9, 0), 11);
    EXPECT_EQ(__t4k__blen(1, unit, "BYTELEN", "\xF0", 1, 0), 1);  // a cut-off character stays inside the text
    EXPECT_EQ(__t4k__ulen(1, unit, "ULEN", nullptr, -1), 0);
}

TEST_F(Utf8, PositionsAndCountsAreCharacters) {
    EXPECT_EQ(text(__t4k__left(1, unit, mixed, 2)), "h\xC3\xA9");
    EXPECT_EQ(text(__t4k__right(1, unit, mixed, 2)), "\xF0\x9D\x84\x9E" "x");
    EXPECT_EQ(text(__t4k__mid(1, unit, mixed, 3, 2)), "\xE2\x82\xAC\xF0\x9D\x84\x9E");
    EXPECT_EQ(text(__t4k__mid(1, unit, mixed, -1, -1)), "x");
    EXPECT_EQ(__t4k__mid(1, unit, mixed, 7, -1), EmptyString);
    EXPECT_EQ(__t4k__instr(1, unit, mixed, "x", 1), 5);  // start in bytes, result in characters
}

TEST_F(Utf8, EncodingRoundTripsThroughTheCounters) {
    const unsigned points[] = {0x41, 0x7F, 0x80, 0x7FF, 0x800, 0xFFFF, 0x10000, 0x10FFFF};
    const int widths[] = {1, 1, 2, 2, 3, 3, 4, 4};
    for (size_t i = 0; i < std::size(points); ++i) {
        char out[5];
        EXPECT_EQ(__t4k_utf8_conv(points[i], out), widths[i]);
        EXPECT_EQ(std::strlen(out), static_cast<size_t>(widths[i]));
        EXPECT_EQ(__t4k__ulen(1, unit, "ULEN", out, -1), 1);
    }
    char euro[5];
    __t4k_utf8_conv(0x20AC, euro);
    EXPECT_STREQ(euro, "\xE2\x82\xAC");
}

TEST(Utf8Errors, InvalidLeadByteIsError38WithTheDecodeLine) {
    auto left = run_in_child([] {
        __t4k__option_utf8 = 1;
        __t4k__trap = 0;  // checked whatever the trap flag says
        __t4k__left(9, "torvane.vmt", "ab\x80" "cd", 3);
    });
    EXPECT_EQ(left.status, 38);
    EXPECT_EQ(left.out, "");
    EXPECT_EQ(left.err,
              "Cannot decode UTF-8 string: 'ab\x80" "cd'\n"
              "Runtime error: function 'LEFT$' at line 9 in 'torvane.vmt': Invalid UTF8 string!\n");

    auto whole = run_in_child([] { __t4k__ulen(3, "wex.vmt", "LEN", "\xBF", -1); });
    EXPECT_EQ(whole.status, 38);
    EXPECT_EQ(whole.err, "Runtime error: function 'LEN' at line 3 in 'wex.vmt': Invalid UTF8 string!\n");
}

struct HookCall {
    std::string name, unit;
    int line = 0;
    int calls = 0;
} hook_call;

void record_hook(const char* name, const char* unit_name, int line) {
    hook_call.name = name;
    hook_call.unit = unit_name;
    hook_call.line = line;
    ++hook_call.calls;
}

TEST(Utf8Errors, WithReportsOffTheHookGetsTheSiteAndTheResultIsZero) {
    auto hooked = run_in_child([] {
        __t4k__option_error = 0;
        __t4k__error_callback = record_hook;
        int result = __t4k__blen(5, "wex.vmt", "BYTELEN", "\xA0xyz", 2, 0);
        std::printf("%d %d %s %s %d %d", result, ERROR, hook_call.name.c_str(), hook_call.unit.c_str(),
                    hook_call.line, hook_call.calls);
    });
    EXPECT_EQ(hooked.status, 0);
    EXPECT_EQ(hooked.out, "0 38 BYTELEN wex.vmt 5 1");
    EXPECT_EQ(hooked.err, "Cannot decode UTF-8 string: '\xA0xyz'\n");
}

}  // namespace
