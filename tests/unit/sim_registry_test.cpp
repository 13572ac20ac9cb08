// The simulated registry keeps the rules the uninstaller's recursive deletion and the leak checks
// depend on: case-insensitive names, sorted enumeration, no deletion of keys with subkeys,
// handle accounting and injected refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "setup/platform/sim/sim_registry.h"

namespace setup {
namespace {

TEST(SimRegistryTest, KeysAndValuesIgnoreLetterCaseButKeepIt) {
  SimRegistry registry;
  const KeyHandle key = registry.CreateKey(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Game").value_or(CreatedKey{}).handle;
  ASSERT_NE(key, 0u);
  EXPECT_TRUE(registry.SetString(key, "Path", "C:\\Game"));
  EXPECT_TRUE(registry.SetDword(key, "COUNT", 12));
  EXPECT_TRUE(registry.SetString(key, "path", "C:\\Other"));
  registry.CloseKey(key);

  EXPECT_EQ(registry.StringValue(kHkeyLocalMachine, "software\\VENDOR\\game", "PATH"), "C:\\Other");
  EXPECT_EQ(registry.DwordValue(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Game", "count"), 12u);
  EXPECT_EQ(registry.StringValue(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Game", "Count"), std::nullopt);
  EXPECT_FALSE(registry.KeyExists(kHkeyCurrentUser, "SOFTWARE\\Vendor\\Game"));
  EXPECT_EQ(registry.AllKeys(kHkeyLocalMachine),
            (std::vector<std::string>{"SOFTWARE", "SOFTWARE\\Vendor", "SOFTWARE\\Vendor\\Game"}));
  EXPECT_FALSE(registry.CreateKey(kHkeyLocalMachine, "\\SOFTWARE"));
  EXPECT_EQ(registry.OpenHandleCount(), 0);
}

TEST(SimRegistryTest, SubkeysAreListedInTheOrderOfTheirFoldedNames) {
  SimRegistry registry;
  for (const char* name : {"beta", "Alpha", "_last", "Gamma"})
    registry.AddKey(kHkeyCurrentUser, std::string("K\\") + name);
  const std::optional<KeyHandle> key = registry.OpenKey(kHkeyCurrentUser, "K");
  ASSERT_TRUE(key);
  EXPECT_EQ(registry.SubkeyNames(*key), (std::vector<std::string>{"Alpha", "beta", "Gamma", "_last"}));
  registry.CloseKey(*key);
}

TEST(SimRegistryTest, DeleteKeyRefusesKeysWithSubkeys) {
  SimRegistry registry;
  registry.AddDword(kHkeyCurrentUser, "A\\B", "v", 1);
  EXPECT_FALSE(registry.DeleteKey(kHkeyCurrentUser, "A"));
  EXPECT_FALSE(registry.DeleteKey(kHkeyCurrentUser, ""));
  EXPECT_FALSE(registry.DeleteKey(kHkeyCurrentUser, "Missing"));
  EXPECT_TRUE(registry.DeleteKey(kHkeyCurrentUser, "a\\b"));
  EXPECT_TRUE(registry.DeleteKey(kHkeyCurrentUser, "A"));
  EXPECT_TRUE(registry.AllKeys(kHkeyCurrentUser).empty());
}

TEST(SimRegistryTest, HandlesAreCountedUntilClosedAndDieWithTheirKey) {
  SimRegistry registry;
  const KeyHandle outer = registry.CreateKey(kHkeyCurrentUser, "A").value_or(CreatedKey{}).handle;
  const KeyHandle inner = registry.CreateKey(outer, "B").value_or(CreatedKey{}).handle;
  const KeyHandle self = registry.CreateKey(outer, "").value_or(CreatedKey{}).handle;
  ASSERT_TRUE(outer != 0 && inner != 0 && self != 0);
  EXPECT_NE(self, outer);
  EXPECT_EQ(registry.OpenHandleCount(), 3);

  ASSERT_TRUE(registry.DeleteKey(outer, "B"));
  EXPECT_FALSE(registry.SetString(inner, "x", "y"));
  registry.CloseKey(inner);
  registry.CloseKey(self);
  registry.CloseKey(outer);
  EXPECT_EQ(registry.OpenHandleCount(), 0);
  EXPECT_EQ(registry.BadHandleUses(), 0);
  registry.CloseKey(outer);
  EXPECT_FALSE(registry.SetDword(outer, "x", 1));
  EXPECT_EQ(registry.BadHandleUses(), 2);
}

TEST(SimRegistryTest, InjectedFaultsRefuseKeysBelowThemAndNamedValues) {
  SimRegistry registry;
  registry.AddKey(kHkeyLocalMachine, "SOFTWARE\\Locked\\Old");
  registry.InjectKeyFault(kHkeyLocalMachine, "software\\locked");
  registry.InjectValueFault("Denied");
  EXPECT_FALSE(registry.CreateKey(kHkeyLocalMachine, "SOFTWARE\\Locked\\New"));
  EXPECT_FALSE(registry.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Locked"));
  EXPECT_FALSE(registry.DeleteKey(kHkeyLocalMachine, "SOFTWARE\\Locked\\Old"));
  const KeyHandle key = registry.CreateKey(kHkeyLocalMachine, "SOFTWARE\\LockedNot").value_or(CreatedKey{}).handle;
  ASSERT_NE(key, 0u);
  EXPECT_FALSE(registry.SetString(key, "DENIED", "x"));
  EXPECT_TRUE(registry.SetString(key, "Allowed", "x"));
  registry.CloseKey(key);
  EXPECT_FALSE(registry.KeyExists(kHkeyLocalMachine, "SOFTWARE\\Locked\\New"));
  EXPECT_TRUE(registry.KeyExists(kHkeyLocalMachine, "SOFTWARE\\Locked\\Old"));
  EXPECT_EQ(registry.OpenHandleCount(), 0);

  registry.ClearFaults();
  EXPECT_TRUE(registry.DeleteKey(kHkeyLocalMachine, "SOFTWARE\\Locked\\Old"));
}

}  // namespace
}  // namespace setup
