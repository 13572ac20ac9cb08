// The launcher's byte-wise rules: the target derived from its own path, the working folder
// cut at the last backslash byte, and the "stopped" test.
#include <gtest/gtest.h>

#include <string>

#include "launcher/launch_rules.h"

namespace {

std::string Derived(const std::string& own_path) {
  char buffer[launcher::kPathBufferSize] = {};
  own_path.copy(buffer, sizeof(buffer) - 1);
  launcher::DeriveTargetPath(buffer);
  return buffer;
}

std::string WorkingFolder(const std::string& target) {
  char buffer[launcher::kPathBufferSize] = {};
  target.copy(buffer, sizeof(buffer) - 1);
  launcher::CutAtLastBackslash(buffer);
  return buffer;
}

TEST(LauncherTargetPath, DropsTheLastCharacterOfTheBaseName) {
  EXPECT_EQ(Derived("C:\\CDROM\\setupx.exe"), "C:\\CDROM\\setup.exe");
  EXPECT_EQ(Derived("D:\\setup1.exe"), "D:\\setup.exe");
}

TEST(LauncherTargetPath, OneCharacterBaseNameLeavesAnEmptyBaseName) {
  EXPECT_EQ(Derived("D:\\a.exe"), "D:\\.exe");
  EXPECT_EQ(Derived("x.exe"), ".exe");
}

TEST(LauncherTargetPath, DoubleByteCharacterAtTheEndLosesOnlyItsSecondByte) {
  // "セットアップケ.exe" in Shift-JIS: the last character ケ is 0x83 0x50.
  const std::string folder = "D:\\";
  const std::string base = "\x83\x5a\x83\x62\x83\x67\x83\x41\x83\x62\x83\x76";
  EXPECT_EQ(Derived(folder + base + "\x83\x50.exe"), folder + base + "\x83.exe");
}

TEST(LauncherTargetPath, WorksOnTheTailBytesWhateverTheyAre) {
  // Always the four last bytes move, dot or not.
  EXPECT_EQ(Derived("C:\\SETUPXABCD"), "C:\\SETUPABCD");
  EXPECT_EQ(Derived("C:\\setupx.ex"), "C:\\setux.ex");
}

TEST(LauncherTargetPath, FourBytesOrFewerStayUnchanged) {
  for (const std::string path : {"", "a", "ab", ".exe", "a.ex"}) EXPECT_EQ(Derived(path), path) << path;
  EXPECT_EQ(Derived("ab.ex"), "b.ex");
}

TEST(LauncherTargetPath, LongestPathStaysInsideItsBuffer) {
  const std::string folder = "C:\\" + std::string(launcher::kPathBufferSize - 1 - 3 - 1 - 10, 'F') + "\\";
  const std::string own = folder + "setupx.exe";
  ASSERT_EQ(own.size(), static_cast<std::size_t>(launcher::kPathBufferSize - 1));
  char buffer[launcher::kPathBufferSize + 1];
  buffer[launcher::kPathBufferSize] = '#';  // a guard byte after the buffer
  own.copy(buffer, own.size());
  buffer[own.size()] = '\0';
  launcher::DeriveTargetPath(buffer);
  EXPECT_EQ(std::string(buffer), folder + "setup.exe");
  EXPECT_EQ(buffer[launcher::kPathBufferSize], '#');
}

TEST(LauncherWorkingFolder, IsTheTargetsFolder) {
  EXPECT_EQ(WorkingFolder("C:\\CDROM\\INSTALL\\setup.exe"), "C:\\CDROM\\INSTALL");
  EXPECT_EQ(WorkingFolder("\\\\server\\share\\setup.exe"), "\\\\server\\share");
}

TEST(LauncherWorkingFolder, DriveRootGivesDriveLetterAndColon) {
  EXPECT_EQ(WorkingFolder("D:\\setup.exe"), "D:");
  EXPECT_EQ(WorkingFolder(Derived("Q:\\setupx.exe")), "Q:");
}

TEST(LauncherWorkingFolder, WithoutBackslashTheWholePathStays) {
  EXPECT_EQ(WorkingFolder("setup.exe"), "setup.exe");
  EXPECT_EQ(WorkingFolder(""), "");
}

TEST(LauncherWorkingFolder, FirstByteIsNeverExamined) {
  EXPECT_EQ(WorkingFolder("\\setup.exe"), "\\setup.exe");
  EXPECT_EQ(WorkingFolder("\\"), "\\");
  EXPECT_EQ(WorkingFolder("\\\\setup.exe"), "\\");
}

TEST(LauncherWorkingFolder, TrailByte0x5CCountsAsBackslash) {
  // 表 is 0x95 0x5C in Shift-JIS. Where it is the last 0x5C byte, the cut falls inside it.
  const std::string hyou = "\x95\x5c";
  EXPECT_EQ(WorkingFolder("D:\\CD\\" + hyou + ".exe"), "D:\\CD\\\x95");
  EXPECT_EQ(WorkingFolder("D:\\" + hyou + "setup.exe"), "D:\\\x95");
  // Followed by a real separator, the folder keeps the whole character.
  EXPECT_EQ(WorkingFolder("D:\\" + hyou + "\\setup.exe"), "D:\\" + hyou);
  EXPECT_EQ(WorkingFolder("D:\\x" + hyou + "y\\setup.exe"), "D:\\x" + hyou + "y");
}

TEST(LauncherStoppedMode, MatchesStoppedWithoutRegardToAsciiCase) {
  for (const char* mode : {"stopped", "STOPPED", "Stopped", "sToPpEd"})
    EXPECT_TRUE(launcher::IsStoppedMode(mode)) << mode;
}

TEST(LauncherStoppedMode, EverythingElseIsStillRunning) {
  for (const char* mode :
       {"playing", "paused", "stop", "stoppe", "stopped ", " stopped", "stoppedx", "", "not ready"}) {
    EXPECT_FALSE(launcher::IsStoppedMode(mode)) << mode;
  }
}

}  // namespace
