// The registry contract: keys with Japanese names, paths ending in "\", name lengths counted
// in characters, enumeration into a buffer that is too small, and deletion one level at a time.
#include <algorithm>
#include <vector>

#include "tests/contract/contract_machine.h"

namespace setup::contract {
namespace {

class RegistryContract : public ContractTest {
 protected:
  void SetUp() override {
    ContractTest::SetUp();
    base = machine->ScratchKey();
  }
  // Opens (creating) a key below the scratch key and closes it again.
  bool Make(const std::string& below) {
    KeyHandle key = 0;
    if (!registry().CreateKey(kHkeyCurrentUser, base + "\\" + below, &key)) return false;
    registry().CloseKey(key);
    return true;
  }
  bool Exists(const std::string& below) {
    KeyHandle key = 0;
    if (!registry().OpenKey(kHkeyCurrentUser, base + "\\" + below, &key)) return false;
    registry().CloseKey(key);
    return true;
  }
  // The names of a key's subkeys, enumerated with room for twice the reported length.
  std::vector<std::string> Subkeys(const std::string& below) {
    std::vector<std::string> names;
    KeyHandle key = 0;
    if (!registry().OpenKey(kHkeyCurrentUser, base + "\\" + below, &key)) return names;
    std::uint32_t count = 0, longest = 0;
    if (registry().QueryInfo(key, &count, &longest)) {
      for (std::uint32_t i = 0; i < count; ++i) {
        std::string name;
        if (registry().EnumKey(key, i, 2 * longest + 1, &name)) names.push_back(name);
      }
    }
    registry().CloseKey(key);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string base;
};

TEST_P(RegistryContract, KeysAndValuesWithJapaneseNames) {
  ASSERT_TRUE(Make(kSoftware + kHyou + "\\" + kNou));
  EXPECT_TRUE(Exists(kSoftware + kHyou));
  EXPECT_TRUE(Exists(kSoftware + kHyou + "\\" + kNou));
  // The trail byte is no separator: nothing named by a lead byte alone was made.
  EXPECT_EQ(Subkeys(""), std::vector<std::string>{kSoftware + kHyou});
  EXPECT_EQ(Subkeys(kSoftware + kHyou), std::vector<std::string>{kNou});

  KeyHandle key = 0;
  ASSERT_TRUE(registry().CreateKey(kHkeyCurrentUser, base + "\\" + kSoftware + kHyou, &key));
  EXPECT_TRUE(registry().SetString(key, kGame + kSo, kHyou + "C:\\" + kSo));
  EXPECT_TRUE(registry().SetString(key, "", "default"));
  EXPECT_TRUE(registry().SetDword(key, kNou, 12));
  registry().CloseKey(key);
}

TEST_P(RegistryContract, KeyPathsMayEndWithABackslash) {
  ASSERT_TRUE(Make("A\\B\\"));
  EXPECT_TRUE(Exists("A\\B"));
  EXPECT_TRUE(Exists("A\\B\\"));
  EXPECT_FALSE(Exists(kSo + "\\"));
  ASSERT_TRUE(Make(kSo + "\\"));
  EXPECT_TRUE(Exists(kSo));
  EXPECT_EQ(Subkeys(""), (std::vector<std::string>{"A", kSo}));
  EXPECT_FALSE(Exists("Nothing"));
}

TEST_P(RegistryContract, LongestNamesCountCharactersAndShortRoomFails) {
  ASSERT_TRUE(Make("ab"));
  ASSERT_TRUE(Make(kSoftware + kHyou));  // four characters, eight bytes
  KeyHandle key = 0;
  ASSERT_TRUE(registry().OpenKey(kHkeyCurrentUser, base, &key));
  std::uint32_t count = 0, longest = 0;
  ASSERT_TRUE(registry().QueryInfo(key, &count, &longest));
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(longest, 4u);
  bool foundLong = false;
  for (std::uint32_t i = 0; i < count; ++i) {
    std::string name;
    if (!registry().EnumKey(key, i, 9, &name)) continue;
    if (name == "ab") {
      std::string again;
      EXPECT_TRUE(registry().EnumKey(key, i, 3, &again));
      EXPECT_FALSE(registry().EnumKey(key, i, 2, &again));
      continue;
    }
    foundLong = true;
    EXPECT_EQ(name, kSoftware + kHyou);
    // Room for the length as reported and the terminator is too small for the bytes.
    std::string cut;
    EXPECT_FALSE(registry().EnumKey(key, i, longest + 1, &cut));
    EXPECT_FALSE(registry().EnumKey(key, i, 8, &cut));
  }
  EXPECT_TRUE(foundLong);
  std::string none;
  EXPECT_FALSE(registry().EnumKey(key, count, 100, &none));
  registry().CloseKey(key);
}

TEST_P(RegistryContract, DeletionTakesOneLevelAtATime) {
  ASSERT_TRUE(Make("Vendor\\" + kSo + "\\" + kNou));
  KeyHandle scratchKey = 0;
  ASSERT_TRUE(registry().OpenKey(kHkeyCurrentUser, base, &scratchKey));
  EXPECT_FALSE(registry().DeleteKey(scratchKey, "Vendor"));
  EXPECT_FALSE(registry().DeleteKey(scratchKey, "Vendor\\" + kSo));
  EXPECT_TRUE(registry().DeleteKey(scratchKey, "Vendor\\" + kSo + "\\" + kNou));
  EXPECT_TRUE(registry().DeleteKey(scratchKey, "Vendor\\" + kSo));
  EXPECT_TRUE(registry().DeleteKey(scratchKey, "Vendor"));
  EXPECT_FALSE(registry().DeleteKey(scratchKey, "Vendor"));
  registry().CloseKey(scratchKey);
  EXPECT_FALSE(Exists("Vendor"));
}

TEST_P(RegistryContract, AnEmptyPathOpensTheRootAndRootsStayOpen) {
  KeyHandle root = 0;
  ASSERT_TRUE(registry().CreateKey(kHkeyCurrentUser, "", &root));
  KeyHandle below = 0;
  ASSERT_TRUE(registry().CreateKey(root, base + "\\ViaRoot", &below));
  registry().CloseKey(below);
  registry().CloseKey(root);
  registry().CloseKey(kHkeyCurrentUser);
  EXPECT_TRUE(Exists("ViaRoot"));
}

INSTANTIATE_TEST_SUITE_P(Machines, RegistryContract, ::testing::ValuesIn(ContractMachines()), PrintMachineKind);

}  // namespace
}  // namespace setup::contract
