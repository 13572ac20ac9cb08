// The registry contract: keys and values with Japanese names, paths ending in "\", subkey names
// that come back whole however their characters count, and deletion one level at a time.
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
  // Opens (creating) a key below the scratch key and closes it again; how many levels that call made.
  std::optional<std::size_t> Make(const std::string& below) {
    const std::optional<CreatedKey> key = registry().CreateKey(kHkeyCurrentUser, base + "\\" + below);
    if (key) registry().CloseKey(key->handle);
    return key ? std::optional<std::size_t>(key->newLevels) : std::nullopt;
  }
  bool Exists(const std::string& below) {
    const std::optional<KeyHandle> key = registry().OpenKey(kHkeyCurrentUser, base + "\\" + below);
    if (key) registry().CloseKey(*key);
    return key.has_value();
  }
  // The names of a key's subkeys, sorted.
  std::vector<std::string> Subkeys(const std::string& below) {
    const std::optional<KeyHandle> key = registry().OpenKey(kHkeyCurrentUser, base + "\\" + below);
    if (!key) return {};
    std::vector<std::string> names = registry().SubkeyNames(*key);
    registry().CloseKey(*key);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string base;
};

TEST_P(RegistryContract, KeysAndValuesWithJapaneseNames) {
  ASSERT_TRUE(Make(""));
  ASSERT_EQ(Make(kSoftware + kHyou + "\\" + kNou), 2u);
  EXPECT_EQ(Make(kSoftware + kHyou), 0u);
  EXPECT_EQ(Make(kSoftware + kHyou + "\\" + kNou + "\\" + kSo + "\\"), 1u);
  EXPECT_TRUE(Exists(kSoftware + kHyou));
  EXPECT_TRUE(Exists(kSoftware + kHyou + "\\" + kNou));
  // The trail byte is no separator: nothing named by a lead byte alone was made.
  EXPECT_EQ(Subkeys(""), std::vector<std::string>{kSoftware + kHyou});
  EXPECT_EQ(Subkeys(kSoftware + kHyou), std::vector<std::string>{kNou});

  const std::optional<CreatedKey> key = registry().CreateKey(kHkeyCurrentUser, base + "\\" + kSoftware + kHyou);
  ASSERT_TRUE(key);
  EXPECT_TRUE(registry().SetString(key->handle, kGame + kSo, kHyou + "C:\\" + kSo));
  EXPECT_TRUE(registry().SetString(key->handle, "", "default"));
  EXPECT_TRUE(registry().SetDword(key->handle, kNou, 12));
  EXPECT_EQ(registry().StringValue(key->handle, kGame + kSo), kHyou + "C:\\" + kSo);
  EXPECT_EQ(registry().StringValue(key->handle, ""), "default");
  EXPECT_EQ(registry().StringValue(key->handle, kNou), std::nullopt);  // a number is no text
  EXPECT_EQ(registry().StringValue(key->handle, "Missing"), std::nullopt);
  registry().CloseKey(key->handle);
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

// Windows NT reports the longest subkey name in characters even to the ANSI calls, so a buffer
// sized from it is too small for double-byte names; the names must still come back whole.
TEST_P(RegistryContract, SubkeyNamesComeBackWholeWhenEveryCharacterTakesTwoBytes) {
  std::string longJapanese;
  for (int i = 0; i < 40; ++i) longJapanese += kHyou;  // forty characters, eighty bytes
  ASSERT_TRUE(Make("ab"));
  ASSERT_TRUE(Make(longJapanese));
  ASSERT_TRUE(Make(kSoftware + kSo));
  std::vector<std::string> expected{"ab", longJapanese, kSoftware + kSo};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Subkeys(""), expected);
  EXPECT_TRUE(Subkeys("ab").empty());
}

TEST_P(RegistryContract, DeletionTakesOneLevelAtATime) {
  ASSERT_TRUE(Make("Vendor\\" + kSo + "\\" + kNou));
  const std::optional<KeyHandle> opened = registry().OpenKey(kHkeyCurrentUser, base);
  ASSERT_TRUE(opened);
  const KeyHandle scratchKey = *opened;
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
  const std::optional<CreatedKey> root = registry().CreateKey(kHkeyCurrentUser, "");
  ASSERT_TRUE(root);
  EXPECT_EQ(root->newLevels, 0u);
  const std::optional<CreatedKey> below = registry().CreateKey(root->handle, base + "\\ViaRoot");
  ASSERT_TRUE(below);
  registry().CloseKey(below->handle);
  registry().CloseKey(root->handle);
  registry().CloseKey(kHkeyCurrentUser);
  EXPECT_TRUE(Exists("ViaRoot"));
}

INSTANTIATE_TEST_SUITE_P(Machines, RegistryContract, ::testing::ValuesIn(ContractMachines()), PrintMachineKind);

}  // namespace
}  // namespace setup::contract
