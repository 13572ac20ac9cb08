// Registry over the advapi32 ANSI calls.
#pragma once

#include "setup/platform/platform.h"

namespace setup::win32 {

class WinRegistry final : public Registry {
 public:
  std::optional<CreatedKey> CreateKey(KeyHandle parent, const std::string& path) override;
  std::optional<KeyHandle> OpenKey(KeyHandle parent, const std::string& path) override;
  bool SetString(KeyHandle key, const std::string& name, const std::string& value) override;
  bool SetDword(KeyHandle key, const std::string& name, std::uint32_t value) override;
  std::optional<std::string> StringValue(KeyHandle key, const std::string& name) override;
  std::vector<std::string> SubkeyNames(KeyHandle key) override;
  bool DeleteKey(KeyHandle parent, const std::string& path) override;
  void CloseKey(KeyHandle key) override;
};

}  // namespace setup::win32
