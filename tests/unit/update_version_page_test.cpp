#include "update/pending_downloads.h"
#include "update/version_page.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace qorvic;

// Newer only when major or minor is higher: read as decimal fractions 1.2 would
// beat 1.10; as a version it is older.
TEST(VersionPage, ReadsFourCharactersAfterTheFirstMarkerAndOneSeparator) {
    const struct {
        std::string page;
        Version version;
        bool newer;
    } cases[] = {
        {"Qorvic ver 1.11", {1, 11}, true},
        {"<html><body><p>Latest: Qorvic ver 1.10</p></body></html>", {1, 10}, false},
        {"line one\r\nQorvic ver 2.0\r\n", {2, 0}, true},
        {"\xEF\xBB\xBF\xE4\xF6\xFC\x81\xFFQorvic ver 0.99", {0, 99}, false}, // bytes outside ASCII
        {"Qorvic ver 1.2 released", {1, 2}, false},
        // Only the first marker counts.
        {"Qorvic ver 1.09 ... Qorvic ver 9.99", {1, 9}, false},
        // Any one character separates; with two blanks the second is skipped as a blank.
        {"Qorvic ver:1.11", {1, 11}, true},
        {"Qorvic ver  1.1", {1, 1}, false},
        // Four characters only, however many follow; or fewer where the page ends.
        {"Qorvic ver 1.123456", {1, 12}, true},
        {"Qorvic ver 12345.6", {1234, 0}, true},
        {"Qorvic ver 2.", {2, 0}, true},
    };
    for (const auto& c : cases) {
        const std::optional<Version> got = ParseVersionPage(c.page);
        ASSERT_TRUE(got) << c.page;
        EXPECT_EQ(*got, c.version) << c.page << " gave " << got->major << "." << got->minor;
        EXPECT_EQ(IsNewerVersion(*got), c.newer) << c.page;
    }
    EXPECT_EQ(ReadPageVersion("Qorvic ver 1.2 released")->text, "1.2");
    EXPECT_EQ(ReadPageVersion("Qorvic ver 1.11</p>")->text, "1.11");
}

TEST(VersionPage, NoVersionWithoutMarkerOrDigits) {
    for (const std::string_view page :
         {std::string_view(""), std::string_view("Welcome to the maker's site. 1.11 is out."),
          std::string_view("qorvic ver 1.11"),     // the marker is case-sensitive
          std::string_view("Qorvic version 1.11"), // "sion" is not a version
          std::string_view("Qorvic ver abcd"), std::string_view("Qorvic ver .5"),
          std::string_view("Qorvic ver -1.2"),
          std::string_view("Qorvic ver \0"
                           "1.2",
                           15),
          std::string_view("Qorvic ver"), std::string_view("Qorvic ver ")})
        EXPECT_FALSE(ParseVersionPage(page)) << page;
}

TEST(VersionText, MajorAndMinorAreWholeNumbers) {
    EXPECT_EQ(ParseVersionText("1.09")->version, (Version{1, 9}));
    EXPECT_EQ(ParseVersionText(" 2.0")->text, "2.0");
    EXPECT_EQ(ParseVersionText("10.1x")->version, (Version{10, 1}));
    EXPECT_FALSE(ParseVersionText("9999999999.1")) << "a part too long for a version";
    EXPECT_FALSE(ParseVersionText("1.9999999999"));
    EXPECT_FALSE(ParseVersionText("   "));
}

// The program reads one page under one key; the rest of the key list is plain storage.
TEST(PendingDownloads, AKeyIsListedOnceUntilRemoved) {
    PendingDownloads keys;
    EXPECT_TRUE(keys.AddKey(L"1"));
    EXPECT_FALSE(keys.AddKey(L"1")) << "a key still in progress";
    EXPECT_TRUE(keys.AddKey(L"11"));
    keys.RemoveKey(L"1");
    EXPECT_EQ(keys.Keys(), std::vector<std::wstring>{L"11"});
    EXPECT_FALSE(keys.Contains(L"1")) << "not found inside \"11\"";
    EXPECT_TRUE(keys.AddKey(L"1")) << "a finished key can be started again";
}
