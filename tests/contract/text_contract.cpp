// The system's text functions under code page 932: which bytes lead a double-byte character,
// and ANSI text converted for display.
#include "tests/contract/contract_machine.h"

namespace setup::contract {
namespace {

using TextContract = ContractTest;

TEST_P(TextContract, LeadBytesAreThoseOfShiftJis) {
  for (int byte = 0; byte < 256; ++byte) {
    const bool lead = (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    EXPECT_EQ(system().IsLeadByte(static_cast<unsigned char>(byte)), lead) << byte;
  }
}

TEST_P(TextContract, AnsiTextBecomesUtf8) {
  EXPECT_EQ(system().AnsiToUtf8(kSoftware + kHyou + "\\" + kNou), "ソフト表\\能");
  EXPECT_EQ(system().AnsiToUtf8(kBarTrail + "|" + kGame), "ポ|ゲーム");
  // Half-width katakana are single bytes.
  EXPECT_EQ(system().AnsiToUtf8("\xB1\xB2 A"), "ｱｲ A");
  EXPECT_EQ(system().AnsiToUtf8(""), "");
}

INSTANTIATE_TEST_SUITE_P(Machines, TextContract, ::testing::ValuesIn(ContractMachines()), PrintMachineKind);

}  // namespace
}  // namespace setup::contract
