// Script loading and record writing against the size of the script: loading must stay linear
// (200,000 entries about twice 100,000), and writing or merging a record of 100,000 entries
// should cost a small multiple of writing the same bytes at once. The record is written both to
// the simulated machine (the core's own work) and to this machine's disk (what a real write
// adds), each against its own baseline.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "setup/install/uninstall_record.h"
#include "setup/platform/sim/simulated_machine.h"
#include "setup/script/ini_document.h"
#include "setup/script/setup_script.h"
#include "tests/bench/host/disk_file_system.h"
#include "tests/bench/host/quiet_machine.h"

namespace setup {
namespace {

// Freed memory stays in the process, so that every repetition after the first measures the
// work rather than the kernel handing out fresh pages again. On the virtual machines these
// benchmarks run on, a first touch costs about 3 ms per MiB, more than loading that much script.
const bool kKeepFreedMemory = [] {
  mallopt(M_MMAP_THRESHOLD, 256 << 20);
  mallopt(M_TRIM_THRESHOLD, 512 << 20);
  return true;
}();

std::string ScriptWithCopies(int entries) {
  std::string text = "[SETUP]\r\nTITLE=Bench\r\nDIR=C:\\Bench\r\nSRC=@:\\DATA\r\n";
  for (int i = 1; i <= entries; ++i) {
    text += "COPY" + std::to_string(i) + "=DIR" + std::to_string(i % 1000) + "\\FILE" + std::to_string(i) +
            ".DAT,$\\DIR" + std::to_string(i % 1000) + "\r\n";
  }
  return text;
}

void LoadScript(benchmark::State& state) {
  SimulatedMachine machine;
  const std::string text = ScriptWithCopies(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    SetupScript script;
    LoadSetupScriptText(text, false, machine.platform(), script);
    benchmark::DoNotOptimize(script.CopyList.data());
  }
  state.counters["bytes"] = static_cast<double>(text.size());
}
BENCHMARK(LoadScript)->Arg(10000)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

// The baseline for loading: copying the file's bytes into memory.
void ReadScriptBytes(benchmark::State& state) {
  const std::string text = ScriptWithCopies(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    std::string copy = text;
    benchmark::DoNotOptimize(copy.data());
  }
}
BENCHMARK(ReadScriptBytes)->Arg(100000)->Unit(benchmark::kMillisecond);

// A folder of this machine's temporary space, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "cdsetup-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
  }
  ~ScratchFolder() {
    if (!path_.empty()) std::filesystem::remove_all(path_);
  }
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// The other baseline for loading: reading the script file from disk into memory.
void ReadScriptFile(benchmark::State& state) {
  ScratchFolder scratch;
  bench::DiskFileSystem disk(scratch.path());
  if (!bench::WriteWithOneCall(disk.HostPath("D:\\setup.ini"), ScriptWithCopies(static_cast<int>(state.range(0))))) {
    state.SkipWithError("cannot write the script");
    return;
  }
  for (auto _ : state) {
    std::optional<std::string> bytes = disk.ReadWholeFile("D:\\setup.ini");
    benchmark::DoNotOptimize(bytes->data());
  }
}
BENCHMARK(ReadScriptFile)->Arg(100000)->Unit(benchmark::kMillisecond);

TextList InstalledFiles(int entries) {
  TextList files;
  for (int i = 1; i <= entries; ++i)
    files.push_back("C:\\Bench\\DIR" + std::to_string(i % 1000) + "\\FILE" + std::to_string(i) + ".DAT");
  return files;
}

SetupScript RecordScript(int entries) {
  SetupScript script;
  script.Title = "Bench";
  script.InstalledFiles = InstalledFiles(entries);
  return script;
}

// The record alone: the record step also copies the uninstaller, which is not writing the record.
void WriteRecord(benchmark::State& state, bool merge) {
  SimulatedMachine machine;
  machine.files().AddFolder("C:\\Bench");
  const SetupScript script = RecordScript(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!merge) {
      state.PauseTiming();
      machine.files().DeleteFile("C:\\Bench\\UNINST.INI");
      state.ResumeTiming();
    }
    if (!WriteUninstallRecord(script, machine.platform(), "C:\\Bench\\UNINST.INI")) state.SkipWithError("not written");
  }
}
void WriteNewRecord(benchmark::State& state) { WriteRecord(state, false); }
void MergeIntoExistingRecord(benchmark::State& state) { WriteRecord(state, true); }
BENCHMARK(WriteNewRecord)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(MergeIntoExistingRecord)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

// The record's text alone, without any file call: what the record step adds to the write.
void BuildRecordText(benchmark::State& state, bool merge) {
  const SetupScript script = RecordScript(static_cast<int>(state.range(0)));
  const std::string old = merge ? UninstallRecordText(script, "") : std::string();
  for (auto _ : state) {
    std::string text = UninstallRecordText(script, old);
    benchmark::DoNotOptimize(text.data());
  }
}
void NewRecordText(benchmark::State& state) { BuildRecordText(state, false); }
void MergedRecordText(benchmark::State& state) { BuildRecordText(state, true); }
BENCHMARK(NewRecordText)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(MergedRecordText)->Arg(100000)->Unit(benchmark::kMillisecond);

// The baseline for the record: the same bytes written with one call.
void WriteRecordBytesOnce(benchmark::State& state) {
  SimulatedMachine machine;
  machine.files().AddFolder("C:\\Bench");
  IniDocument record;
  const TextList files = InstalledFiles(static_cast<int>(state.range(0)));
  for (std::size_t i = 0; i < files.size(); ++i) record.Set("SETUP", "COPY" + std::to_string(i + 1), files[i]);
  const std::string bytes = record.Serialize();
  for (auto _ : state) machine.files().WriteWholeFile("C:\\Bench\\UNINST.INI", bytes);
}
BENCHMARK(WriteRecordBytesOnce)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

// The record written on this machine's disk: the destination folder is C:\Bench below a
// scratch folder.
struct DiskMachine {
  ScratchFolder scratch;
  bench::DiskFileSystem files{scratch.path()};
  bench::QuietRegistry registry;
  bench::QuietShell shell;
  bench::QuietSystem system;
  bench::QuietUserInterface ui;
  Platform platform{files, registry, shell, system, ui};

  DiskMachine() { files.CreateDirectory("C:\\Bench"); }
};

void WriteRecordOnDisk(benchmark::State& state, bool merge) {
  DiskMachine machine;
  const SetupScript script = RecordScript(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    if (!merge) {
      state.PauseTiming();
      machine.files.DeleteFile("C:\\Bench\\UNINST.INI");
      state.ResumeTiming();
    }
    if (!WriteUninstallRecord(script, machine.platform, "C:\\Bench\\UNINST.INI")) {
      state.SkipWithError("the record could not be written");
      return;
    }
  }
}
void WriteNewRecordOnDisk(benchmark::State& state) { WriteRecordOnDisk(state, false); }
void MergeIntoRecordOnDisk(benchmark::State& state) { WriteRecordOnDisk(state, true); }
BENCHMARK(WriteNewRecordOnDisk)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);
BENCHMARK(MergeIntoRecordOnDisk)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

// The baseline on disk: the same bytes written into a new file with one write call.
void WriteRecordBytesOnDiskOnce(benchmark::State& state) {
  DiskMachine machine;
  IniDocument record;
  const TextList files = InstalledFiles(static_cast<int>(state.range(0)));
  for (std::size_t i = 0; i < files.size(); ++i) record.Set("SETUP", "COPY" + std::to_string(i + 1), files[i]);
  const std::string bytes = record.Serialize();
  const std::string path = machine.files.HostPath("C:\\Bench\\UNINST.INI");
  for (auto _ : state) {
    state.PauseTiming();
    std::remove(path.c_str());
    state.ResumeTiming();
    if (!bench::WriteWithOneCall(path, bytes)) state.SkipWithError("cannot write");
  }
}
BENCHMARK(WriteRecordBytesOnDiskOnce)->Arg(100000)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace setup

BENCHMARK_MAIN();
