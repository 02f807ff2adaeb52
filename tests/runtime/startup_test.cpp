// Start-up: ARGUMENT$, "-vemto" (in every game too), the version check, the "wex" line, seeding,
// the start time, traps.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/runtime.h"
#include "tests/runtime/child.h"

using t4k_test::run_in_child;

namespace {

/* When this test program is started with T4K_STARTUP_PROBE in its environment it acts as
   a plain program instead: it runs the start-up sequence on its real command line, prints
   what the sequence set up and exits, before GoogleTest starts. */
__attribute__((constructor)) void startup_probe(int argc, char** argv, char**) {
    if (std::getenv("T4K_STARTUP_PROBE") == nullptr) return;
    T4K_START(argc, argv);
    long r = random();
    bool seeded = false;
    for (long seed : {__t4k__elapsed_secs - 1, __t4k__elapsed_secs}) {
        srandom(static_cast<unsigned>(seed));
        seeded = seeded || random() == r;
    }
    // The age is read from the clock the start time came from: time() runs on a coarser clock
    // and can still show the previous second just after gettimeofday has passed into the next.
    timeval now;
    gettimeofday(&now, nullptr);
    std::printf("ARG=[%s] LEN=%d ME=[%s] SEEDED=%d AGE=%ld STACK=[%s]\n", ARGUMENT$, __t4k__arglen,
                __t4k__me_var$, seeded, static_cast<long>(now.tv_sec) - __t4k__elapsed_secs,
                __t4k__stringstack[0]);
    if (const char* sig = std::getenv("T4K_STARTUP_RAISE")) raise(std::atoi(sig));
    std::exit(0);
}

std::string self_path() { return std::filesystem::read_symlink("/proc/self/exe"); }

// Start this program as `path` with the given argument list (argv[0] included).
t4k_test::ChildResult start_probe(const std::string& path, std::vector<std::string> args,
                                  const char* raise_signal = nullptr) {
    return run_in_child([&] {
        std::vector<char*> argv;
        for (std::string& a : args) argv.push_back(a.data());
        argv.push_back(nullptr);
        setenv("T4K_STARTUP_PROBE", "1", 1);
        if (raise_signal) setenv("T4K_STARTUP_RAISE", raise_signal, 1);
        execv(path.c_str(), argv.data());
        std::_Exit(127);
    });
}

std::string argument_line(const std::vector<std::string>& args) {
    std::string out = start_probe(self_path(), args).out;
    size_t open = out.find("ARG=["), close = out.find("] LEN=");
    return open == std::string::npos || close == std::string::npos ? "<no output>" : out.substr(open + 5, close - open - 5);
}

TEST(Startup, ArgumentStringQuotesArgumentsWithBlanksOrTabs) {
    auto run = start_probe(self_path(), {"prog", "a", "b c"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err, "");
    EXPECT_NE(run.out.find("ARG=[prog a \"b c\"] LEN=14 ME=[prog]"), std::string::npos) << run.out;
    EXPECT_EQ(argument_line({"prog", "x\ty", "", "z"}), "prog \"x\ty\"  z");
    EXPECT_EQ(argument_line({"prog", "say \"hi\""}), "prog \"say \"hi\"\"");
    EXPECT_EQ(argument_line({"prog"}), "prog");
}

TEST(Startup, SeedsTheGeneratorReadsTheTimeAndSetsUpTheStacks) {
    auto run = start_probe(self_path(), {"prog"});
    EXPECT_NE(run.out.find("SEEDED=1"), std::string::npos) << run.out;
    long age = -1;
    std::sscanf(run.out.c_str() + run.out.find("AGE="), "AGE=%ld", &age);
    EXPECT_GE(age, 0);
    EXPECT_LE(age, 5);
    EXPECT_NE(run.out.find("STACK=[]"), std::string::npos);
}

// "-vemto" alone prints the converter's banner and exits 1, in this program and in every game;
// with more arguments it is an argument like any other.
struct VemtoCase {
    std::string program;
    std::vector<std::string> args;
    int status;
    const char* err;
};

std::string game(const char* name) { return std::string(WEX_BINARY_DIR "/games/") + name + "/" + name; }

TEST(Startup, VemtoAloneBannersAndExits) {
    const char* banner = "Converted by Vemto executable 3.9.2.\n";
    const VemtoCase cases[] = {
        {self_path(), {"prog", "-vemto"}, 1, banner},
        {self_path(), {"prog", "-vemto", "x"}, 0, ""},
        {game("kelvado"), {"kelvado", "-vemto"}, 1, banner},
        {game("plimsy"), {"plimsy", "-vemto"}, 1, banner},
        {game("torvane"), {"torvane", "-vemto"}, 1, banner},
    };
    for (const VemtoCase& c : cases) {
        ASSERT_EQ(access(c.program.c_str(), X_OK), 0) << c.program << " is not built";
        auto run = start_probe(c.program, c.args);
        EXPECT_EQ(run.status, c.status) << c.program;
        EXPECT_EQ(run.err, c.err) << c.program;
        if (c.status == 1) {
            EXPECT_EQ(run.out, "") << c.program;
        }
    }
    EXPECT_EQ(argument_line({"prog", "-vemto", "x"}), "prog -vemto x");
}

TEST(Startup, AnotherVersionStopsTheProgram) {
    const char* expected =
        "System error: this Vemto binary was compiled with a previous Vemto archive and therefore may not "
        "function correctly.\nRecompile your program using the '-a' flag.\n";
    auto older = run_in_child([] {
        char prog[] = "prog";
        char* argv[] = {prog, nullptr};
        __t4k__startup("3.9.1", 1, argv);
    });
    EXPECT_EQ(older.status, 1);
    EXPECT_EQ(older.out, expected);
    EXPECT_EQ(older.err, "");
    auto longer = run_in_child([] { __t4k__version("3.9.2 "); });
    EXPECT_EQ(longer.status, 1);
    EXPECT_EQ(longer.out, expected);
    auto same = run_in_child([] { __t4k__version("3.9.2"); });
    EXPECT_EQ(same.status, 0);
    EXPECT_EQ(same.out, "");
}

TEST(Startup, NoArgumentsAtAllLeaveAnEmptyArgumentString) {
    auto run = run_in_child([] {
        char* argv[] = {nullptr};
        __t4k__startup(T4K_VERSION, 0, argv);
        std::printf("%d [%s] %d", __t4k__arglen, ARGUMENT$, __t4k__me_var$ == nullptr);
    });
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "1 [] 1");
}

TEST(Startup, TheWexLineIsPrintedForThatBaseNameOnly) {
    auto dir = std::filesystem::temp_directory_path() / ("t4k-startup-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string banner = "This is the WEX include file.\n";
    for (const char* name : {"wex", "Wex", "wexx"}) {
        auto link = dir / name;
        std::filesystem::create_symlink(self_path(), link);
        auto run = start_probe(link, {link.string(), "arg"});
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind(banner, 0) == 0, std::string(name) == "wex") << name << ": " << run.out;
        EXPECT_NE(run.out.find("ARG=["), std::string::npos);
    }
    std::filesystem::remove_all(dir);
    EXPECT_EQ(start_probe(self_path(), {"/some/dir/wex//"}).out.rfind(banner, 0), 0u);
    EXPECT_EQ(start_probe(self_path(), {"wex"}).out.rfind(banner, 0), 0u);
    EXPECT_NE(start_probe(self_path(), {"/wex/other"}).out.rfind(banner, 0), 0u);
}

TEST(Startup, InstallsTheSignalTraps) {
    auto run = start_probe(self_path(), {"prog"}, "6");
    EXPECT_EQ(run.status, SIGABRT);
    EXPECT_EQ(run.err,
              "ERROR: signal ABORT received - internal error. Try to compile the program with TRAP LOCAL to find "
              "the cause.\n");
}

}  // namespace
