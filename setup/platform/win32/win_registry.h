// Registry over the advapi32 ANSI calls.
#pragma once

#include "setup/platform/platform.h"

namespace setup::win32 {

class WinRegistry final : public Registry {
 public:
  bool CreateKey(KeyHandle parent, const std::string& path, KeyHandle* key) override;
  bool OpenKey(KeyHandle parent, const std::string& path, KeyHandle* key) override;
  bool SetString(KeyHandle key, const std::string& name, const std::string& value) override;
  bool SetDword(KeyHandle key, const std::string& name, std::uint32_t value) override;
  bool QueryInfo(KeyHandle key, std::uint32_t* subkeyCount, std::uint32_t* longestSubkeyName) override;
  bool EnumKey(KeyHandle key, std::uint32_t index, std::uint32_t nameRoom, std::string* name) override;
  bool DeleteKey(KeyHandle parent, const std::string& path) override;
  void CloseKey(KeyHandle key) override;
};

}  // namespace setup::win32
