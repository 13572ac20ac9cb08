// Peak memory of an installation with a very long COPY list, against the size of its script.
// The whole Start-button path runs (script loading at start-up, checks, copy, registry,
// configuration file, Start menu, record) on a machine whose disk is the build machine's own,
// except that the CD's data files exist only as names and sizes: copying one is counted, not
// made, so the run takes seconds and the process holds nothing for the files themselves.
//
//   install_memory WORK_DIR [ENTRIES]     prints "figure memory.NAME VALUE" lines
//
// Every allocation goes through a counting operator new, which gives the peak of the heap in
// use beside the peak resident size the kernel reports.
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <new>
#include <string>

#include "setup/app/message_form.h"
#include "tests/bench/host/disk_file_system.h"
#include "tests/bench/host/quiet_machine.h"

namespace {

std::atomic<std::size_t> heapInUse{0};
std::atomic<std::size_t> heapPeak{0};

void NoteAllocation(void* block) {
  const std::size_t now = heapInUse += malloc_usable_size(block);
  std::size_t peak = heapPeak.load();
  while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
  }
}

}  // namespace

void* operator new(std::size_t size) {
  void* block = std::malloc(size == 0 ? 1 : size);
  if (block == nullptr) throw std::bad_alloc();
  NoteAllocation(block);
  return block;
}

void operator delete(void* block) noexcept {
  if (block == nullptr) return;
  heapInUse -= malloc_usable_size(block);
  std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace bench {
namespace {

constexpr std::uint64_t kFileBytes = 1024;
constexpr int kFolders = 1000;
constexpr char kDataFolder[] = "D:\\DATA\\";

// The CD's data files as names and sizes: a pattern below D:\DATA that names one file finds it,
// and copying one succeeds without a byte moving. Everything else is the disk's.
class NamedDataFiles final : public DiskFileSystem {
 public:
  using DiskFileSystem::DiskFileSystem;
  long copies() const { return copies_; }

  std::vector<setup::FoundEntry> FindEntries(const std::string& pattern) override {
    if (!IsData(pattern)) return DiskFileSystem::FindEntries(pattern);
    const std::string name = pattern.substr(pattern.find_last_of('\\') + 1);
    if (name.find_first_of("*?") != std::string::npos) return {};
    return {setup::FoundEntry{name, kFileBytes, setup::kAttrArchive | setup::kAttrReadOnly}};
  }
  bool CopyFile(const std::string& from, const std::string& to) override {
    if (!IsData(from)) return DiskFileSystem::CopyFile(from, to);
    ++copies_;
    return true;
  }
  bool SetAttributes(const std::string&, std::uint32_t) override { return true; }

 private:
  static bool IsData(const std::string& path) { return path.compare(0, sizeof kDataFolder - 1, kDataFolder) == 0; }
  long copies_ = 0;
};

// Written line by line, so making it costs the process no memory.
long WriteScript(const std::string& hostPath, int entries) {
  std::FILE* file = std::fopen(hostPath.c_str(), "wb");
  if (file == nullptr) return -1;
  std::fprintf(file, "[SETUP]\r\nTITLE=Bench\r\nDIR=C:\\Bench\r\nSRC=@:\\DATA\r\nGROUP=Bench\r\n");
  std::fprintf(file, "UNINSTALL=UNINST.INI\r\nSHORTCUT=1\r\n");
  for (int i = 1; i <= entries; ++i) {
    std::fprintf(file, "COPY%d=DIR%d\\FILE%d.DAT,$\\DIR%d\r\n", i, i % kFolders, i, i % kFolders);
  }
  const long size = std::ftell(file);
  std::fclose(file);
  return size;
}

double ResidentMb() {
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

double PeakResidentMb() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

void Figure(const char* name, double value) { std::printf("figure memory.%s %.3f\n", name, value); }

int Run(const std::string& work, int entries) {
  const std::string root = work + "/install-memory";
  std::filesystem::remove_all(root);
  std::filesystem::create_directories(root);
  NamedDataFiles files(root);
  const long scriptBytes = WriteScript(files.HostPath("D:\\setup.ini"), entries);
  if (scriptBytes < 0 || !WriteWithOneCall(files.HostPath("D:\\setup.exe"), "MZ bench") ||
      !std::filesystem::create_directories(files.HostPath("C:\\WINDOWS\\Start Menu\\Programs"))) {
    std::fprintf(stderr, "install_memory: cannot prepare %s\n", root.c_str());
    return 1;
  }
  QuietRegistry registry;
  QuietShell shell;
  QuietSystem system;
  QuietUserInterface ui;
  setup::Platform platform{files, registry, shell, system, ui};

  const double residentBefore = ResidentMb();
  const std::size_t heapBefore = heapInUse;
  heapPeak = heapBefore;
  std::size_t loadPeak = 0, afterLoad = 0;
  {
    setup::MessageForm form(platform);
    form.FormCreate();
    loadPeak = heapPeak;
    afterLoad = heapInUse;
    heapPeak = afterLoad;
    ui.SetFolderText("C:\\Bench");
    form.OkButtonClick();
    form.FormClose();
  }
  const double peakResident = PeakResidentMb();
  const auto recordSize = std::filesystem::file_size(files.HostPath("C:\\Bench\\UNINST.INI"));
  if (files.copies() != entries || !ui.ended()) {
    std::fprintf(stderr, "install_memory: %ld of %d files copied, program %s\n", files.copies(), entries,
                 ui.ended() ? "ended" : "still running");
    return 1;
  }
  Figure("entries", entries);
  Figure("script_bytes", static_cast<double>(scriptBytes));
  Figure("record_bytes", static_cast<double>(recordSize));
  Figure("resident_before_mb", residentBefore);
  Figure("peak_resident_mb", peakResident);
  Figure("heap_before_mb", static_cast<double>(heapBefore) / (1024.0 * 1024.0));
  Figure("load_peak_heap_mb", static_cast<double>(loadPeak) / (1024.0 * 1024.0));
  Figure("after_load_heap_mb", static_cast<double>(afterLoad) / (1024.0 * 1024.0));
  Figure("install_peak_heap_mb", static_cast<double>(heapPeak.load()) / (1024.0 * 1024.0));
  Figure("peak_heap_mb", static_cast<double>(std::max<std::size_t>(loadPeak, heapPeak.load())) / (1024.0 * 1024.0));
  std::filesystem::remove_all(root);
  return 0;
}

}  // namespace
}  // namespace bench

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: install_memory WORK_DIR [ENTRIES]\n");
    return 2;
  }
  const int entries = argc == 3 ? std::atoi(argv[2]) : 100000;
  if (entries < 1) return 2;
  return bench::Run(argv[1], entries);
}
