// Script loading and record writing against the size of the script: loading must stay linear
// (200,000 entries about twice 100,000), and writing or merging a record of 100,000 entries
// should cost a small multiple of writing the same bytes at once.
#include <benchmark/benchmark.h>

#include <string>

#include "setup/install/step_context.h"
#include "setup/install/uninstall_record.h"
#include "setup/platform/sim/simulated_machine.h"
#include "setup/script/ini_document.h"
#include "setup/script/setup_script.h"

namespace setup {
namespace {

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

TextList InstalledFiles(int entries) {
  TextList files;
  for (int i = 1; i <= entries; ++i)
    files.push_back("C:\\Bench\\DIR" + std::to_string(i % 1000) + "\\FILE" + std::to_string(i) + ".DAT");
  return files;
}

void WriteRecord(benchmark::State& state, bool merge) {
  SimulatedMachine machine;
  machine.files().AddFolder("C:\\Bench");
  SetupScript script;
  script.DestDir = "C:\\Bench";
  script.UninstallFile = "UNINST.INI";
  script.Title = "Bench";
  const TextList files = InstalledFiles(static_cast<int>(state.range(0)));
  Flags flags;
  for (auto _ : state) {
    state.PauseTiming();
    script.InstalledFiles = files;
    if (!merge) machine.files().DeleteFile("C:\\Bench\\UNINST.INI");
    state.ResumeTiming();
    StepContext context{script, flags, machine.platform(), machine.ui().MainProgress()};
    MakeUnInstallData(context);
  }
}
void WriteNewRecord(benchmark::State& state) { WriteRecord(state, false); }
void MergeIntoExistingRecord(benchmark::State& state) { WriteRecord(state, true); }
BENCHMARK(WriteNewRecord)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(MergeIntoExistingRecord)->Arg(100000)->Unit(benchmark::kMillisecond);

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
BENCHMARK(WriteRecordBytesOnce)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace setup

BENCHMARK_MAIN();
