// The DirectX check's version lookup.
#include "setup/install/directx_version.h"

#include <algorithm>
#include <optional>

#include "setup/script/paths.h"

namespace setup {

namespace {

constexpr char kDirectXKey[] = "SOFTWARE\\Microsoft\\DirectX";
constexpr char kDirectXVersionValue[] = "Version";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// The DirectX 2 to 9 way of writing the version: the third and fourth characters, as in
// "4.07.00.0700"; 0 when they are not two digits.
int TwoDigitVersion(std::string_view version) {
  if (version.size() < 4 || !IsDigit(version[2]) || !IsDigit(version[3])) return 0;
  return (version[2] - '0') * 10 + (version[3] - '0');
}

struct LeadingNumbers {
  int major = 0;
  int minor = 0;
};

// The digits from at on, as a number that stops growing at 1000, far above any version.
int ReadNumber(std::string_view text, std::size_t& at) {
  int number = 0;
  for (; at < text.size() && IsDigit(text[at]); ++at) {
    if (number < 1000) number = number * 10 + (text[at] - '0');
  }
  return number;
}

// The number that a version string begins with, and the one after its first "."; nothing when
// the string does not begin with a digit.
std::optional<LeadingNumbers> ReadLeadingNumbers(std::string_view version) {
  if (version.empty() || !IsDigit(version[0])) return std::nullopt;
  std::size_t at = 0;
  LeadingNumbers numbers;
  numbers.major = ReadNumber(version, at);
  if (at < version.size() && version[at] == '.') numbers.minor = ReadNumber(version, ++at);
  return numbers;
}

// From Windows Vista on, DDRAW.DLL carries the version of Windows itself, and each Windows comes
// with its own DirectX, which no DirectX setup replaces: Vista (6.0) has 10, Windows 7, 8 and 8.1
// (6.1 to 6.3) have 11, Windows 10 and 11 (10.0) have 12. Whatever lies between 8.1 and 10 (the
// previews of Windows 10 said 6.4) or comes after 10 is newer than 8.1 and counts as 12.
int DirectXOfWindows(LeadingNumbers windows) {
  if (windows.major == 6 && windows.minor == 0) return 10;
  if (windows.major == 6 && windows.minor <= 3) return 11;
  return kNewestDirectX;
}

// Windows 2000, XP and Server 2003 (5.0 to 5.2) keep DDRAW.DLL at "5.x" whatever DirectX 8 or 9
// is installed; the DirectX setup writes the installed version into the registry instead, in
// the "4.09.00.0904" form.
bool IsWindows2000OrXpVersion(std::string_view fileVersion) {
  const std::optional<LeadingNumbers> numbers = ReadLeadingNumbers(fileVersion);
  return numbers && numbers->major == 5;
}

int RegisteredDirectX(Registry& registry) {
  const std::optional<KeyHandle> key = registry.OpenKey(kHkeyLocalMachine, kDirectXKey);
  if (!key) return 0;
  const std::optional<std::string> version = registry.StringValue(*key, kDirectXVersionValue);
  registry.CloseKey(*key);
  return version ? TwoDigitVersion(*version) : 0;
}

}  // namespace

int DirectXVersionFromFileVersion(std::string_view fileVersion) {
  const std::optional<LeadingNumbers> numbers = ReadLeadingNumbers(fileVersion);
  if (numbers && numbers->major >= 6) return DirectXOfWindows(*numbers);
  if (IsWindows2000OrXpVersion(fileVersion)) return 8;
  return TwoDigitVersion(fileVersion);
}

int GetDirectXVersion(Platform& platform) {
  const std::string path = JoinPath(platform.system.SystemDirectory(), "DDRAW.DLL");
  const std::optional<std::string> fileVersion = platform.system.FileVersionString(path);
  if (!fileVersion) return 0;
  const int version = DirectXVersionFromFileVersion(*fileVersion);
  if (!IsWindows2000OrXpVersion(*fileVersion)) return version;
  return std::max(version, RegisteredDirectX(platform.registry));
}

std::string DirectXSetupPath(const std::string& sourceRoot) {
  const bool unc = !sourceRoot.empty() && sourceRoot[0] == '\\';
  return sourceRoot + (unc ? "\\DIRECTX\\DXSETUP.EXE" : ":\\DIRECTX\\DXSETUP.EXE");
}

}  // namespace setup
