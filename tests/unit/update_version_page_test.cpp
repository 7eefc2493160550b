#include "update/pending_keys.h"
#include "update/version_page.h"

#include <gtest/gtest.h>

#include <string>

using namespace qorvic;

namespace {

std::string Describe(const std::optional<Version>& v) {
    return v ? std::to_string(v->major) + "." + std::to_string(v->minor) : "none";
}

void ExpectVersion(std::string_view page, Version want) {
    const std::optional<Version> got = ParseVersionPage(page);
    EXPECT_TRUE(got && *got == want) << "page \"" << page << "\" gave " << Describe(got);
}

} // namespace

TEST(VersionPage, FindsTheMarkerWhereverItStands) {
    ExpectVersion("Qorvic ver 1.11", {1, 11});
    ExpectVersion("<html><body><p>Latest: Qorvic ver 1.11</p></body></html>", {1, 11});
    ExpectVersion("line one\r\nQorvic ver 2.0\r\n", {2, 0});
}

TEST(VersionPage, OnlyTheFirstMarkerCounts) {
    ExpectVersion("Qorvic ver 1.09 ... Qorvic ver 9.99", {1, 9});
    ExpectVersion("Qorvic ver 3.00 and later Qorvic ver 1.00", {3, 0});
}

TEST(VersionPage, AnyOneCharacterSeparatesMarkerAndVersion) {
    ExpectVersion("Qorvic ver:1.11", {1, 11});
    ExpectVersion("Qorvic ver\t1.11", {1, 11});
    // Two blanks: the second one is the start of the four characters, skipped as a blank.
    ExpectVersion("Qorvic ver  1.1", {1, 1});
}

TEST(VersionPage, ReadsOnlyFourCharactersAfterTheSeparator) {
    ExpectVersion("Qorvic ver 1.123456", {1, 12});
    ExpectVersion("Qorvic ver 12345.6", {1234, 0});
    const auto text = ReadPageVersion("Qorvic ver 1.2 released");
    ASSERT_TRUE(text);
    EXPECT_EQ(text->text, "1.2");
    EXPECT_EQ(ReadPageVersion("Qorvic ver 1.11</p>")->text, "1.11");
}

TEST(VersionPage, NoVersionWithoutMarkerOrDigits) {
    EXPECT_FALSE(ParseVersionPage(""));
    EXPECT_FALSE(ParseVersionPage("Welcome to the maker's site. 1.11 is out."));
    EXPECT_FALSE(ParseVersionPage("qorvic ver 1.11")) << "the marker is case-sensitive";
    EXPECT_FALSE(ParseVersionPage("Qorvic version 1.11")) << "\"sion\" is not a version";
    EXPECT_FALSE(ParseVersionPage("Qorvic ver abcd"));
    EXPECT_FALSE(ParseVersionPage("Qorvic ver .5"));
    EXPECT_FALSE(ParseVersionPage("Qorvic ver -1.2"));
    EXPECT_FALSE(ParseVersionPage(std::string_view("Qorvic ver \0"
                                                   "1.2",
                                                   15)));
}

TEST(VersionPage, PageEndingAtOrJustAfterTheMarker) {
    EXPECT_FALSE(ParseVersionPage("Qorvic ver"));
    EXPECT_FALSE(ParseVersionPage("Qorvic ver "));
    ExpectVersion("Qorvic ver 2", {2, 0});
    ExpectVersion("Qorvic ver 2.", {2, 0});
    ExpectVersion("Qorvic ver 1.1", {1, 1});
}

TEST(VersionPage, BytesOutsideAsciiDoNotConfuseTheSearch) {
    const std::string page = std::string("\xEF\xBB\xBF\xE4\xF6\xFC\x81\xFF") + "Qorvic ver 1.11";
    ExpectVersion(page, {1, 11});
}

TEST(VersionText, MajorAndMinorAreWholeNumbers) {
    EXPECT_EQ(ParseVersionText("1.10")->version, (Version{1, 10}));
    EXPECT_EQ(ParseVersionText("1.09")->version, (Version{1, 9}));
    EXPECT_EQ(ParseVersionText("1.2 ")->version, (Version{1, 2}));
    EXPECT_EQ(ParseVersionText(" 2.0")->text, "2.0");
    EXPECT_EQ(ParseVersionText("10.1x")->version, (Version{10, 1}));
    EXPECT_EQ(ParseVersionText("7")->text, "7");
    EXPECT_FALSE(ParseVersionText("9999999999.1")) << "a part too long for a version";
    EXPECT_FALSE(ParseVersionText("1.9999999999"));
    EXPECT_FALSE(ParseVersionText("   "));
}

TEST(VersionCompare, NewerOnlyWhenMajorOrMinorIsHigher) {
    EXPECT_EQ(kRunningVersion, (Version{1, 10}));
    EXPECT_TRUE(IsNewerVersion(*ParseVersionPage("Qorvic ver 1.11")));
    EXPECT_TRUE(IsNewerVersion(*ParseVersionPage("Qorvic ver 2.0")));
    EXPECT_TRUE(IsNewerVersion(*ParseVersionPage("Qorvic ver 2.00")));
    EXPECT_FALSE(IsNewerVersion(*ParseVersionPage("Qorvic ver 1.10")));
    // Read as decimal fractions 1.2 would beat 1.10; as a version it is older.
    EXPECT_FALSE(IsNewerVersion(*ParseVersionPage("Qorvic ver 1.2 ")));
    EXPECT_FALSE(IsNewerVersion(*ParseVersionPage("Qorvic ver 1.09")));
    EXPECT_FALSE(IsNewerVersion(*ParseVersionPage("Qorvic ver 1.1")));
    EXPECT_FALSE(IsNewerVersion(*ParseVersionPage("Qorvic ver 0.99")));
    EXPECT_TRUE(IsNewerVersion({1, 3}, {1, 2}));
    EXPECT_FALSE(IsNewerVersion({1, 2}, {1, 2}));
}

TEST(PendingKeys, AddKeyListsEachKeyOnce) {
    PendingKeys keys;
    EXPECT_EQ(keys.Text(), std::wstring(1, L'\0'));
    EXPECT_FALSE(keys.Contains(L"1"));
    EXPECT_TRUE(keys.AddKey(L"1"));
    EXPECT_EQ(keys.Text(), std::wstring(L"\0"
                                        L"1\0",
                                        3));
    EXPECT_FALSE(keys.AddKey(L"1")) << "a key still in progress";
    EXPECT_EQ(keys.Text(), std::wstring(L"\0"
                                        L"1\0",
                                        3))
        << "a refused add changes nothing";
    EXPECT_TRUE(keys.AddKey(L"12"));
    EXPECT_TRUE(keys.AddKey(L"2"));
    EXPECT_EQ(keys.Text(), std::wstring(L"\0"
                                        L"1\0"
                                        L"12\0"
                                        L"2\0",
                                        8));
    EXPECT_TRUE(keys.Contains(L"12"));
    EXPECT_FALSE(keys.Contains(L"21")) << "keys do not run into each other";
}

TEST(PendingKeys, RemoveKeyTakesOutExactlyThatKey) {
    PendingKeys keys;
    keys.AddKey(L"1");
    keys.AddKey(L"11");
    keys.AddKey(L"A");
    keys.RemoveKey(L"a"); // case-sensitive: nothing happens
    EXPECT_TRUE(keys.Contains(L"A"));
    keys.RemoveKey(L"1");
    EXPECT_FALSE(keys.Contains(L"1"));
    EXPECT_TRUE(keys.Contains(L"11"));
    EXPECT_EQ(keys.Text(), std::wstring(L"\0"
                                        L"11\0"
                                        L"A\0",
                                        6));
    keys.RemoveKey(L"missing");
    keys.RemoveKey(L"11");
    keys.RemoveKey(L"A");
    EXPECT_EQ(keys.Text(), std::wstring(1, L'\0'));
    EXPECT_TRUE(keys.AddKey(L"1")) << "a finished key can be started again";
}

TEST(PendingKeys, EmptyKeyIsAKeyLikeAnyOther) {
    PendingKeys keys;
    EXPECT_TRUE(keys.AddKey(L""));
    EXPECT_TRUE(keys.Contains(L""));
    EXPECT_FALSE(keys.AddKey(L""));
    EXPECT_TRUE(keys.AddKey(L"x"));
    keys.RemoveKey(L"");
    EXPECT_FALSE(keys.Contains(L""));
    EXPECT_TRUE(keys.Contains(L"x"));
}

TEST(PendingKeys, KeysWithANulAreRefused) {
    PendingKeys keys;
    keys.AddKey(L"a");
    keys.AddKey(L"b");
    const std::wstring spanning(L"a\0b", 3); // would match the tail of "a" and the head of "b"
    EXPECT_FALSE(PendingKeys::IsValidKey(spanning));
    EXPECT_FALSE(keys.Contains(spanning));
    EXPECT_FALSE(keys.AddKey(spanning));
    keys.RemoveKey(spanning);
    EXPECT_TRUE(keys.Contains(L"a"));
    EXPECT_TRUE(keys.Contains(L"b"));
}
