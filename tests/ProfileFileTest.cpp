#include "settings/ProfileFile.h"

#include <gtest/gtest.h>

#include <string>

namespace ondrel {
namespace {

struct AwkwardFile {
    const char* name;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

std::string Repeat(std::string_view piece, size_t times) {
    std::string s;
    s.reserve(piece.size() * times);
    for (size_t i = 0; i < times; ++i) {
        s += piece;
    }
    return s;
}

std::string Binary(size_t size) {
    std::string s(size, '\0');
    uint32_t x = 12345;
    for (char& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 24);
    }
    return s;
}

TEST(ProfileFile, AnyContentLoadsAndKeysAreFoundByTheClassicRules) {
    const std::string longLine(100000, 'x');
    const AwkwardFile files[] = {
        {"plain", "[MAIN]\nMODE=104\n", "MAIN", "MODE", "104"},
        {"empty file", "", "MAIN", "MODE", std::nullopt},
        {"missing section", "[SIZE]\nMODE=1\n", "MAIN", "MODE", std::nullopt},
        {"missing key", "[MAIN]\nPOWER=1\n", "MAIN", "MODE", std::nullopt},
        {"empty value", "[MAIN]\nMODE=\n", "MAIN", "MODE", ""},
        {"CRLF line ends", "[MAIN]\r\nMODE=7\r\nPOWER=8\r\n", "MAIN", "POWER", "8"},
        {"byte-order mark", "\xEF\xBB\xBF[MAIN]\nMODE=5\n", "MAIN", "MODE", "5"},
        {"no final newline", "[MAIN]\nMODE=42", "MAIN", "MODE", "42"},
        {"names ignore case", "[main]\nmode=3\n", "MAIN", "MODE", "3"},
        {"white space around", "  [ MAIN ]  \n  MODE  =  9  \n", "MAIN", "MODE", "9"},
        {"first duplicate key wins", "[MAIN]\nMODE=1\nMODE=2\n", "MAIN", "MODE", "1"},
        {"first duplicate section wins", "[MAIN]\nA=1\n[MAIN]\nMODE=2\n", "MAIN", "MODE",
         std::nullopt},
        {"keys before any section", "MODE=1\n[MAIN]\nPOWER=2\n", "MAIN", "MODE", std::nullopt},
        {"comment line", "[MAIN]\n;MODE=1\n", "MAIN", "MODE", std::nullopt},
        {"line without equals", "[MAIN]\nMODE\nMODE=6\n", "MAIN", "MODE", "6"},
        {"unclosed section header", "[MAIN\nMODE=6\n", "MAIN", "MODE", "6"},
        {"NUL bytes", std::string("[MAIN]\nMO\0DE=1\nMODE=2\0x\n", 24), "MAIN", "MODE",
         std::string("2\0x", 3)},
        {"100 000 character line", "[MAIN]\nMODE=" + longLine + "\n", "MAIN", "MODE", longLine},
        {"binary bytes", Binary(65536), "MAIN", "MODE", std::nullopt},
        {"10 MB of keys", "[MAIN]\n" + Repeat("K=1\n", 2500000) + "MODE=11\n", "MAIN", "MODE",
         "11"},
        {"only brackets and equals", Repeat("[]=\n=[", 1000), "MAIN", "MODE", std::nullopt},
    };
    for (const AwkwardFile& file : files) {
        SCOPED_TRACE(file.name);
        ProfileFile profile = ProfileFile::Parse(file.text);
        EXPECT_EQ(profile.Get(file.section, file.key), file.expected);
    }
}

TEST(ProfileFile, WritesSectionsAndKeysInTheOrderFirstWritten) {
    ProfileFile profile = ProfileFile::Parse("[B]\nx=1\n[A]\ny=2\n");
    profile.Set("A", "z", "3");
    profile.Set("C", "w", "4");
    profile.Set("B", "v", "5");
    profile.Set("b", "X", "6"); // replaces x in place, keeping its stored name
    EXPECT_EQ(profile.Text(), "[B]\nx=6\nv=5\n[A]\ny=2\nz=3\n[C]\nw=4\n");
}

} // namespace
} // namespace ondrel
