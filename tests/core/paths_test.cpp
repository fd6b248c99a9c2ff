// The last backslash of an ANSI path, found with the double-byte-aware scan.
#include "vantrel/paths.h"

#include <gtest/gtest.h>

#include <string>

namespace vantrel {
namespace {

TEST(Paths, SplitAtLastBackslash) {
    struct Case {
        std::string path;
        std::string head;
        std::string tail;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Vantrel\\vantrel.exe", "C:\\Program Files\\Vantrel", "vantrel.exe"},
        // The root directory of a drive: the directory is the drive and its colon.
        {"C:\\vantrel.exe", "C:", "vantrel.exe"},
        // A trailing backslash: the empty name, the key's default value.
        {"Software\\Microsoft\\Internet Explorer\\MenuExt\\&Q \xCF\xC2\xD4\xD8\xB5\xD8\xD6\xB7"
         "\xD7\xAA\xBB\xBB\\",
         "Software\\Microsoft\\Internet Explorer\\MenuExt\\&Q \xCF\xC2\xD4\xD8\xB5\xD8\xD6\xB7"
         "\xD7\xAA\xBB\xBB",
         ""},
        {"Software\\Key\\contexts", "Software\\Key", "contexts"},
        // No backslash at all: everything is the name.
        {"contexts", "", "contexts"},
        {"", "", ""},
        {"\\", "", ""},
        {"\\name", "", "name"},
        // "乗" is 81 5C: its second byte is no backslash, wherever it stands.
        {"C:\\\xCF\xC2\xD4\xD8\x81\x5C\\vantrel.exe", "C:\\\xCF\xC2\xD4\xD8\x81\x5C",
         "vantrel.exe"},
        {"C:\\dir\\\x81\x5C", "C:\\dir", "\x81\x5C"},
        {"C:\\dir\\\x81\x5C"
         "name",
         "C:\\dir",
         "\x81\x5C"
         "name"},
        {"\x81\x5C", "", "\x81\x5C"},
        // A lead byte always takes the next byte along, also one below 0x80.
        {"a\\b\xFF\\c", "a", "b\xFF\\c"},
        {"a\\b\x80\\\\c", "a\\b\x80\\", "c"},
        // A dangling lead byte at the end has no partner to take.
        {"a\\b\x81", "a", "b\x81"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const PathParts parts = split_at_last_backslash(c.path);
        EXPECT_EQ(parts.head, c.head);
        EXPECT_EQ(parts.tail, c.tail);
    }
}

}  // namespace
}  // namespace vantrel
