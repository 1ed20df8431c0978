#include "platform/Cp932Table.h"
#include "tools/cp932/Cp932IcuTable.h"

#include <gtest/gtest.h>

namespace {

// The compiled table is a copy of ICU's windows-31j: built here through ICU, it must agree on
// every byte pair and every character, or a regenerated or hand-edited table changed the mapping.
class CompiledCodePage : public ::testing::Test {
protected:
    static const Cp932IcuTable& icu()
    {
        static const Cp932IcuTable table;
        return table;
    }
};

TEST_F(CompiledCodePage, decodesEveryPairAsIcu)
{
    int assigned = 0;
    int differing = 0;
    for (int lead = 0; lead <= 0xFF; ++lead) {
        for (int trail = 0; trail <= 0xFF; ++trail) {
            const auto l = static_cast<unsigned char>(lead);
            const auto t = static_cast<unsigned char>(trail);
            const char16_t expected = icu().decodePair(l, t);
            assigned += expected != 0;
            if (Cp932Table::decodePair(l, t) != expected && ++differing <= 10)
                ADD_FAILURE() << std::hex << "pair " << lead << ' ' << trail << ": "
                              << int(Cp932Table::decodePair(l, t)) << " instead of " << int(expected);
        }
    }
    EXPECT_EQ(differing, 0);
    // Both empty would agree too: ICU must have given the whole table (JIS rows, NEC and IBM
    // extensions, the user-defined area).
    EXPECT_GT(assigned, 9000);
}

TEST_F(CompiledCodePage, encodesEveryCharacterAsIcu)
{
    int differing = 0;
    for (int c = 0; c <= 0xFFFF; ++c) {
        const quint16 expected = icu().encode(char16_t(c));
        if (Cp932Table::encode(char16_t(c)) != expected && ++differing <= 10)
            ADD_FAILURE() << std::hex << "U+" << c << ": " << Cp932Table::encode(char16_t(c))
                          << " instead of " << expected;
    }
    EXPECT_EQ(differing, 0);
}

struct SharedCharacter {
    char16_t unicode;
    quint16 code;
    quint16 otherCode; // a later or earlier pair that decodes to the same character
};

// Where NEC and IBM rows share a character the pair Windows writes is kept; the other pair still
// reads as the character.
TEST_F(CompiledCodePage, sharedCharactersEncodeToThePreferredPair)
{
    const SharedCharacter cases[] = {
        {0x2252, 0x81E0, 0x8790}, // ≒: the JIS row before the NEC row
        {0x2170, 0xFA40, 0xEEEF}, // ⅰ: the IBM row after the NEC-selected one
        {0xFFE2, 0x81CA, 0xEEF9}, // ￢
        {0x2235, 0x81E6, 0xFA5B}, // ∵
        {0x7E8A, 0xFA5C, 0xED40}, // 纊
    };
    for (const SharedCharacter& c : cases) {
        EXPECT_EQ(Cp932Table::encode(c.unicode), c.code) << std::hex << int(c.unicode);
        EXPECT_EQ(icu().encode(c.unicode), c.code) << std::hex << int(c.unicode);
        EXPECT_EQ(Cp932Table::decodePair(c.otherCode >> 8, c.otherCode & 0xFF), c.unicode)
            << std::hex << c.otherCode;
    }
}

} // namespace
