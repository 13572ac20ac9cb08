// A profile of an installation by platform call: file system, registry, shell and progress
// window wrappers that add the wall time of every call to a total per kind of call, so a run
// can be split into the time the system took for the copies, the attributes, the listings, the
// shortcut, the label, the bar, the message pumps and so on, and the time spent in the
// installer's own code between the calls.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "setup/platform/platform.h"
#include "tests/bench/wine/bench_clock.h"
#include "tests/bench/wine/bench_report.h"

namespace bench {

// Total milliseconds and number of calls, per kind of call.
class CallTimes {
 public:
  struct Total {
    double ms = 0;
    long calls = 0;
  };

  template <typename Call>
  auto Time(const char* kind, Call&& call) {
    const double start = NowMs();
    if constexpr (std::is_void_v<decltype(call())>) {
      call();
      Add(kind, NowMs() - start);
    } else {
      auto result = call();
      Add(kind, NowMs() - start);
      return result;
    }
  }

  const std::map<std::string, Total>& totals() const { return totals_; }
  double TotalMs() const {
    double sum = 0;
    for (const auto& [kind, total] : totals_) sum += total.ms;
    return sum;
  }

 private:
  void Add(const char* kind, double ms) {
    Total& total = totals_[kind];
    total.ms += ms;
    ++total.calls;
  }

  std::map<std::string, Total> totals_;
};

class TimedFileSystem final : public setup::FileSystem {
 public:
  TimedFileSystem(setup::FileSystem& inner, CallTimes& times) : inner_(inner), times_(times) {}

  std::vector<setup::FoundEntry> FindEntries(const std::string& pattern) override {
    return times_.Time("FindEntries", [&] { return inner_.FindEntries(pattern); });
  }
  bool CopyFile(const std::string& from, const std::string& to) override {
    return times_.Time("CopyFile", [&] { return inner_.CopyFile(from, to); });
  }
  bool SetAttributes(const std::string& path, std::uint32_t attributes) override {
    return times_.Time("SetAttributes", [&] { return inner_.SetAttributes(path, attributes); });
  }
  bool DeleteFile(const std::string& path) override {
    return times_.Time("DeleteFile", [&] { return inner_.DeleteFile(path); });
  }
  bool CreateDirectory(const std::string& path) override {
    return times_.Time("CreateDirectory", [&] { return inner_.CreateDirectory(path); });
  }
  bool RemoveDirectory(const std::string& path) override {
    return times_.Time("RemoveDirectory", [&] { return inner_.RemoveDirectory(path); });
  }
  bool DirectoryExists(const std::string& path) override {
    return times_.Time("DirectoryExists", [&] { return inner_.DirectoryExists(path); });
  }
  bool FileExists(const std::string& path) override {
    return times_.Time("FileExists", [&] { return inner_.FileExists(path); });
  }
  bool SetCurrentDirectory(const std::string& path) override {
    return times_.Time("SetCurrentDirectory", [&] { return inner_.SetCurrentDirectory(path); });
  }
  setup::DriveType GetDriveType(const std::string& root) override {
    return times_.Time("GetDriveType", [&] { return inner_.GetDriveType(root); });
  }
  std::optional<std::int64_t> FreeBytes(const std::string& root) override {
    return times_.Time("FreeBytes", [&] { return inner_.FreeBytes(root); });
  }
  std::optional<std::string> ShortPath(const std::string& path) override {
    return times_.Time("ShortPath", [&] { return inner_.ShortPath(path); });
  }
  std::optional<std::string> ReadWholeFile(const std::string& path) override {
    return times_.Time("ReadWholeFile", [&] { return inner_.ReadWholeFile(path); });
  }
  setup::WriteResult WriteWholeFile(const std::string& path, const std::string& bytes) override {
    return times_.Time("WriteWholeFile", [&] { return inner_.WriteWholeFile(path, bytes); });
  }
  bool ReplaceFile(const std::string& from, const std::string& to) override {
    return times_.Time("ReplaceFile", [&] { return inner_.ReplaceFile(from, to); });
  }
  bool ReplacesInOneStep() override { return inner_.ReplacesInOneStep(); }
  bool MoveFile(const std::string& from, const std::string& to) override {
    return times_.Time("MoveFile", [&] { return inner_.MoveFile(from, to); });
  }
  std::optional<std::string> LastFailureText() override { return inner_.LastFailureText(); }

 private:
  setup::FileSystem& inner_;
  CallTimes& times_;
};

// The registry's calls are few per installation: one total for all of them.
class TimedRegistry final : public setup::Registry {
 public:
  TimedRegistry(setup::Registry& inner, CallTimes& times) : inner_(inner), times_(times) {}

  std::optional<setup::CreatedKey> CreateKey(setup::KeyHandle parent, const std::string& path) override {
    return times_.Time("Registry", [&] { return inner_.CreateKey(parent, path); });
  }
  std::optional<setup::KeyHandle> OpenKey(setup::KeyHandle parent, const std::string& path) override {
    return times_.Time("Registry", [&] { return inner_.OpenKey(parent, path); });
  }
  bool SetString(setup::KeyHandle key, const std::string& name, const std::string& value) override {
    return times_.Time("Registry", [&] { return inner_.SetString(key, name, value); });
  }
  bool SetDword(setup::KeyHandle key, const std::string& name, std::uint32_t value) override {
    return times_.Time("Registry", [&] { return inner_.SetDword(key, name, value); });
  }
  std::optional<std::string> StringValue(setup::KeyHandle key, const std::string& name) override {
    return times_.Time("Registry", [&] { return inner_.StringValue(key, name); });
  }
  std::vector<std::string> SubkeyNames(setup::KeyHandle key) override {
    return times_.Time("Registry", [&] { return inner_.SubkeyNames(key); });
  }
  bool DeleteKey(setup::KeyHandle parent, const std::string& path) override {
    return times_.Time("Registry", [&] { return inner_.DeleteKey(parent, path); });
  }
  void CloseKey(setup::KeyHandle key) override {
    times_.Time("Registry", [&] { inner_.CloseKey(key); });
  }

 private:
  setup::Registry& inner_;
  CallTimes& times_;
};

class TimedShell final : public setup::Shell {
 public:
  TimedShell(setup::Shell& inner, CallTimes& times) : inner_(inner), times_(times) {}

  std::optional<std::string> SpecialFolderPath(int csidl) override {
    return times_.Time("SpecialFolder", [&] { return inner_.SpecialFolderPath(csidl); });
  }
  std::optional<std::string> SpecialFolderParsingName(int csidl) override {
    return times_.Time("SpecialFolder", [&] { return inner_.SpecialFolderParsingName(csidl); });
  }
  std::optional<std::string> BrowseForFolder(const std::string& titleUtf8) override {
    return inner_.BrowseForFolder(titleUtf8);
  }
  bool OpenFile(const std::string& path) override { return inner_.OpenFile(path); }
  bool SaveShellLink(const setup::ShellLinkData& link) override {
    return times_.Time("SaveShellLink", [&] { return inner_.SaveShellLink(link); });
  }
  void BroadcastSettingChange() override {
    times_.Time("BroadcastSettingChange", [&] { inner_.BroadcastSettingChange(); });
  }

 private:
  setup::Shell& inner_;
  CallTimes& times_;
};

// A progress window whose calls per file are timed: the label, the bar and its position.
class TimedProgress final : public setup::ProgressWindow {
 public:
  TimedProgress(setup::ProgressWindow& inner, CallTimes& times) : inner_(inner), times_(times) {}
  TimedProgress(std::unique_ptr<setup::ProgressWindow> owned, CallTimes& times)
      : owned_(std::move(owned)), inner_(*owned_), times_(times) {}

  void SetLabel(const std::string& textUtf8) override {
    times_.Time("SetLabel", [&] { inner_.SetLabel(textUtf8); });
  }
  void SetRange(int maximum) override { inner_.SetRange(maximum); }
  int Position() override {
    return times_.Time("Position", [&] { return inner_.Position(); });
  }
  void SetPosition(int position) override {
    times_.Time("SetPosition", [&] { inner_.SetPosition(position); });
  }
  void SetStep(int step) override { inner_.SetStep(step); }
  void StepIt() override {
    times_.Time("StepIt", [&] { inner_.StepIt(); });
  }
  void StopAnimation() override { inner_.StopAnimation(); }
  void SetDeleteMode() override { inner_.SetDeleteMode(); }
  void Show() override {
    times_.Time("ShowProgress", [&] { inner_.Show(); });
  }
  void Hide() override { inner_.Hide(); }

 private:
  std::unique_ptr<setup::ProgressWindow> owned_;
  setup::ProgressWindow& inner_;
  CallTimes& times_;
};

// The file system, registry and shell a run hands to the installer: the real ones, or with
// calls given, the real ones timed into it.
class PlatformCalls {
 public:
  PlatformCalls(setup::FileSystem& files, setup::Registry& registry, setup::Shell& shell, CallTimes* calls)
      : files_(files),
        registry_(registry),
        shell_(shell),
        timed_(calls != nullptr),
        timedFiles_(files, timed_ ? *calls : untimed_),
        timedRegistry_(registry, timed_ ? *calls : untimed_),
        timedShell_(shell, timed_ ? *calls : untimed_) {}

  setup::FileSystem& files() { return timed_ ? timedFiles_ : files_; }
  setup::Registry& registry() { return timed_ ? timedRegistry_ : registry_; }
  setup::Shell& shell() { return timed_ ? timedShell_ : shell_; }

 private:
  setup::FileSystem& files_;
  setup::Registry& registry_;
  setup::Shell& shell_;
  bool timed_;
  CallTimes untimed_;
  TimedFileSystem timedFiles_;
  TimedRegistry timedRegistry_;
  TimedShell timedShell_;
};

// The mean time per run in each kind of platform call, and in the installer's own code between
// them: the part of the runs' mean that no call accounts for.
inline void PrintCallProfile(const std::string& name, const CallTimes& calls, const std::vector<double>& runTimes) {
  if (runTimes.empty()) return;
  const double runs = static_cast<double>(runTimes.size());
  double runTotal = 0;
  for (double time : runTimes) runTotal += time;
  for (const auto& [kind, total] : calls.totals()) {
    PrintFigure(name + "." + kind + "_ms", total.ms / runs);
    PrintFigure(name + "." + kind + "_calls", static_cast<double>(total.calls) / runs);
  }
  PrintFigure(name + ".run_mean_ms", runTotal / runs);
  PrintFigure(name + ".outside_calls_ms", (runTotal - calls.TotalMs()) / runs);
}

}  // namespace bench
