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
  KeyHandle key = 0;
  ASSERT_TRUE(registry.CreateKey(kHkeyLocalMachine, "SOFTWARE\\Vendor\\Game", &key));
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
  EXPECT_FALSE(registry.CreateKey(kHkeyLocalMachine, "\\SOFTWARE", &key));
  EXPECT_EQ(registry.OpenHandleCount(), 0);
}

TEST(SimRegistryTest, EnumerationIsSortedAndNeedsRoomForTheTerminator) {
  SimRegistry registry;
  for (const char* name : {"beta", "Alpha", "_last", "Gamma"})
    registry.AddKey(kHkeyCurrentUser, std::string("K\\") + name);
  KeyHandle key = 0;
  ASSERT_TRUE(registry.OpenKey(kHkeyCurrentUser, "K", &key));
  std::uint32_t count = 0, longest = 0;
  ASSERT_TRUE(registry.QueryInfo(key, &count, &longest));
  EXPECT_EQ(count, 4u);
  EXPECT_EQ(longest, 5u);

  std::vector<std::string> names;
  std::string name;
  for (std::uint32_t index = 0; registry.EnumKey(key, index, longest + 1, &name); ++index) names.push_back(name);
  EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "Gamma", "_last"}));
  EXPECT_FALSE(registry.EnumKey(key, 0, 5, &name));  // "Alpha" needs 6 with its terminator
  registry.CloseKey(key);
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
  KeyHandle outer = 0, inner = 0, self = 0;
  ASSERT_TRUE(registry.CreateKey(kHkeyCurrentUser, "A", &outer));
  ASSERT_TRUE(registry.CreateKey(outer, "B", &inner));
  ASSERT_TRUE(registry.CreateKey(outer, "", &self));
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
  KeyHandle key = 0;
  EXPECT_FALSE(registry.CreateKey(kHkeyLocalMachine, "SOFTWARE\\Locked\\New", &key));
  EXPECT_FALSE(registry.OpenKey(kHkeyLocalMachine, "SOFTWARE\\Locked", &key));
  EXPECT_FALSE(registry.DeleteKey(kHkeyLocalMachine, "SOFTWARE\\Locked\\Old"));
  ASSERT_TRUE(registry.CreateKey(kHkeyLocalMachine, "SOFTWARE\\LockedNot", &key));
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
