#include <gtest/gtest.h>

#include <string>

#include "validate/Findings.h"

namespace relicor {
namespace {

struct FindingCase {
  std::int32_t code;
  std::int32_t value;
  std::string line;
};

class FindingLineTest : public ::testing::TestWithParam<FindingCase> {};

TEST_P(FindingLineTest, FormatsHeaderTextAndValue) {
  FindingState state;
  EXPECT_EQ(FormatFinding(state, GetParam().code, GetParam().value), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    Catalogue, FindingLineTest,
    ::testing::Values(
        // The trailing blank of rule 1 belongs to the text.
        FindingCase{1, 0, "*** HACK DETECTED 001: INDESTRUCTIBLE - MAY BE LEGIT IF SELF DONE IN GAME "},
        FindingCase{2, 35, "*** HACK DETECTED 002: SOURCE HACK CODE 35"},
        FindingCase{3, 7, "*** HACK DETECTED 003: INVALID SPELL CHARGES ENTRY"},
        FindingCase{13, 180, "*** HACK DETECTED 013: TOO MUCH %DAMAGE 180"},
        FindingCase{14, -25, "*** HACK DETECTED 014: HACKED %DAMAGE EFFECT -25"},
        FindingCase{28, 31, "*** HACK DETECTED 028: HACKED VIT EFFECT 31"},
        FindingCase{30, 0, "*** HACK DETECTED 030: HACKED SPEED EFFECT"},
        // Rule 33 gets the damage value but does not show it.
        FindingCase{33, -7, "*** HACK DETECTED 033: HACKED DAMAGE REDUCTION"},
        FindingCase{34, 0x1A5, "*** HACK DETECTED 034: HACKED UNIQUE ITEM TYPE A5"},
        FindingCase{39, 113 * 256 + 10, "*** HACK DETECTED 039: INTERNAL ITEM TYPE MISMATCH 0A/71"},
        FindingCase{41, 31, "*** HACK DETECTED 041: ITEM PREFIX NOT AVAILABLE FROM GRISWOLD 31"},
        FindingCase{42, 5, "*** HACK DETECTED 042: ITEM SUFFIX NOT AVAILABLE FROM GRISWOLD 5"},
        FindingCase{43, 150000, "*** HACK DETECTED 043: ITEM EXCEEDS PRICE LIMIT"},
        FindingCase{100035, 0x2C,
                    "*** INCOMPLETE INTERNAL DEFINTION 100035: INTERNAL UNIQUE DEFINITION MISSED 2C"},
        FindingCase{100040, 143 * 256 + 1,
                    "*** INCOMPLETE INTERNAL DEFINTION 100040: INTERNAL ITEM TYPE 01/8F"},
        // Codes without a text keep the header alone.
        FindingCase{0, 5, "*** HACK DETECTED 000: "}, FindingCase{29, 5, "*** HACK DETECTED 029: "},
        FindingCase{44, 5, "*** HACK DETECTED 044: "}, FindingCase{1234, 5, "*** HACK DETECTED 1234: "},
        FindingCase{100000, 5, "*** HACK DETECTED 100000: "},
        // Any code above 100000 is read as a definition finding of the reduced code.
        FindingCase{
            100001, 5,
            "*** INCOMPLETE INTERNAL DEFINTION 100001: INDESTRUCTIBLE - MAY BE LEGIT IF SELF DONE IN GAME "},
        FindingCase{200013, 5, "*** INCOMPLETE INTERNAL DEFINTION 200013: "}));

TEST(FindingsTest, FirstFindingChoosesTheColour) {
  FindingState state;
  FormatFinding(state, 13, 180);
  EXPECT_EQ(state.status, StatusColour::kRed);
  EXPECT_EQ(state.lastFindingCode, 13);
  FormatFinding(state, 100040, 0);
  EXPECT_EQ(state.status, StatusColour::kRed);
  EXPECT_EQ(state.lastFindingCode, 40);
}

TEST(FindingsTest, DefinitionFindingFirstStaysPurple) {
  FindingState state;
  FormatFinding(state, 100035, 0);
  EXPECT_EQ(state.status, StatusColour::kPurple);
  EXPECT_EQ(state.lastFindingCode, 35);
  FormatFinding(state, 1, 0);
  EXPECT_EQ(state.status, StatusColour::kPurple);
  EXPECT_EQ(state.lastFindingCode, 1);
}

TEST(FindingsTest, ColourSetElsewhereIsReplacedByTheFirstFinding) {
  // A registered dupe turns the panel red without a finding code; a definition finding that
  // follows is still the first finding.
  FindingState state;
  state.status = StatusColour::kRed;
  FormatFinding(state, 100040, 0);
  EXPECT_EQ(state.status, StatusColour::kPurple);
}

}  // namespace
}  // namespace relicor
