#include "settings/DefaultMappingFile.h"

#include <gtest/gtest.h>

#include "tests/settings/MappingEntries.h"

using mappingentries::Entry;

static std::string File(const std::string& body) { return "[共通様式]\r\n" + body + "[終了]\r\n"; }

TEST(DefaultMappingFile, EachLineOnlyAddsTheEntriesItsTokensName) {
    // The accounts are 4010 and 1110, their keys "K" and the code.
    const auto keyOfCode = [](std::int32_t code, char* key) {
        std::strcpy(key, ("K" + std::to_string(code)).c_str());
        return code == 4010 || code == 1110;
    };
    const std::string key34(34, 'k');
    MappingList defaults = mappingentries::Make({{99, "HELD"}});
    ASSERT_TRUE(DefaultMappingFile::Read(
        File("3/URIAGEDAKA,4010,9999,\r\n"         // a key, a code, a code of no account
             "2/" + key34 + ",0,URIAGEGENKA\r\n"   // what reads as 0 is a key; the text behind the last "," is none
             "3/ 4010x,+1110,-4010,4010,\r\n"      // digits up to the first other character; the same code twice
             "no slash,B,\r\n4/" + std::string(246, ' ') + "4010,\r\r\n"  // 255 bytes before the LF
             "5/" + std::string(247, ' ') + "4010,\r\r\n"                 // 256 bytes
             "32768/URIAGEDAKA,\r\n-32768/C,\r\n\r\n1/," + key34 + "L,E,\r\n" + std::string("2/F\0G,H,\r\n", 10) +
             "3/SISAN,\r\r\n"), defaults, keyOfCode));
    EXPECT_EQ(mappingentries::Of(defaults),
              (std::vector<Entry>{{3, "URIAGEDAKA"}, {3, "K4010"}, {2, key34}, {2, "0"}, {3, "K4010"}, {3, "K1110"},
                                  {3, "K4010"}, {4, "K4010"}, {-32768, "C"}, {1, "E"}, {2, "H"}, {3, "SISAN"}}));
    EXPECT_FALSE(DefaultMappingFile::Read("1/A,\r\n[終了]\r\n", defaults, keyOfCode) || defaults.size() != 12u)
        << "without the section the list stays";
}
