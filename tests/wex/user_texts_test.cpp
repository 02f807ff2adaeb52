// user_texts_test.cpp: the user's texts in a program: the files chosen in a file dialog opened
// by the names FILENAME$ gives, and texts with markup characters shown as they are with ESCAPE$.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>
#include "toolkit_fixture.h"

namespace {
using UserTexts = Toolkit;

std::string contents(const char* name) {
    std::FILE* file = std::fopen(name, "r");
    if (!file) return "<cannot open>";
    char text[64] = "";
    const size_t length = std::fread(text, 1, sizeof text, file);
    std::fclose(file);
    return std::string(text, length);
}

TEST_F(UserTexts, EveryFileChosenInAFileDialogOpensByItsName) {
    char folder[] = "/tmp/wex files-XXXXXX";
    ASSERT_TRUE(mkdtemp(folder));
    // Each file holds its own name.
    const std::vector<std::string> names = {"my file.txt", "caf\xc3\xa9.txt", "100%.txt", "a%20b", "x\xff y"};
    for (const std::string& name : names)
        g_file_set_contents((std::string(folder) + "/" + name).c_str(), name.c_str(), -1, nullptr);

    Widget dialog = FILEDIALOG("Open", "gtk-open", 400, 300, 0);
    GtkFileChooser* chooser = GTK_FILE_CHOOSER(dialog);
    gtk_file_chooser_set_current_folder(chooser, folder);
    TEXT(dialog, (std::string(folder) + "/" + names[0]).c_str());
    ASSERT_TRUE(wait_for([&] { return std::strlen(GRAB$(dialog)) > 0; }));
    gtk_file_chooser_select_all(chooser);
    ASSERT_TRUE(wait_for([&] { return std::string(GRAB$(dialog)).find("a%2520b") != std::string::npos; }));

    // GRAB$ holds one entry per file, each up to a blank: FILENAME$ takes a pointer to any of them.
    const std::string chosen = GRAB$(dialog);
    std::vector<std::string> opened;
    const char* entry = chosen.c_str();
    do {
        const std::string name = FILENAME$(entry);
        opened.push_back(contents(name.c_str()));
        EXPECT_EQ(name, std::string(folder) + "/" + opened.back());
        entry = std::strchr(entry, ' ');
    } while (entry++);
    std::vector<std::string> expected = names;
    std::sort(opened.begin(), opened.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(opened, expected);
    std::system(("rm -rf '" + std::string(folder) + "'").c_str());
}

TEST_F(UserTexts, AnEntryThatNamesNoFileGivesTheEmptyText) {
    const std::pair<const char*, const char*> cases[] = {
        {"file:///tmp/a%20b", "/tmp/a b"}, {"FILE:///tmp/x", "/tmp/x"}, {"a%2fb%2Fc", ""},  {"%41%4a%4A", "AJJ"},
        {"x%", ""},          {"x%4", ""},  {"x%g1", ""},   {"x%00y", ""},      {"", ""},     {nullptr, ""},
        {"file://host/x", ""}, {"file://", ""}, {"/a b", "/a"}, {"%C3%A9", "\xc3\xa9"},
    };
    for (const auto& [entry, name] : cases) EXPECT_STREQ(FILENAME$(entry), name) << (entry ? entry : "null");
}

TEST_F(UserTexts, EscapedTextShowsAsItIsInsideMarkup) {
    struct Case {
        const char *text, *escaped, *shown;
    };
    const Case cases[] = {
        {"<b>Tom & \"Jerry's\"</b>", "&lt;b&gt;Tom &amp; &quot;Jerry&apos;s&quot;&lt;/b&gt;", "<b>Tom & \"Jerry's\"</b>"},
        {"&amp;", "&amp;amp;", "&amp;"},
        {"caf\xc3\xa9", "caf\xc3\xa9", "caf\xc3\xa9"},
        {"a\xff<", "a\xef\xbf\xbd&lt;", "a\xef\xbf\xbd<"},
        {nullptr, "", ""},
    };
    Widget label = MARK("old", 100, 20);
    for (const Case& c : cases) {
        EXPECT_STREQ(ESCAPE$(c.text), c.escaped);
        TEXT(label, (std::string("<i>") + ESCAPE$(c.text) + "</i>").c_str());
        EXPECT_STREQ(GRAB$(label), c.shown);  // a label whose markup fails keeps its old text
    }
}
}  // namespace
