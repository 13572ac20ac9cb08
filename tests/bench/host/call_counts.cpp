// How many platform calls the installer and the uninstaller make per file, counted on the
// simulated machine: under Wine every one of them is a trip through the Windows layer, so these
// counts explain the difference between a step and a bare loop over the same files.
//
//   call_counts     prints "figure calls.CASE.CALL VALUE" lines, VALUE per file
#include <cstdio>
#include <string>

#include "setup/app/message_form.h"
#include "setup/platform/sim/simulated_machine.h"
#include "setup/script/ini_document.h"

namespace bench {
namespace {

constexpr int kFiles = 1000;
constexpr int kFolders = 100;

const char* const kFileCallNames[] = {
    "FindEntries",     "CopyFile",       "SetAttributes",       "DeleteFile",   "CreateDirectory", "RemoveDirectory",
    "DirectoryExists", "FileExists",     "SetCurrentDirectory", "GetDriveType", "FreeBytes",       "ShortPath",
    "ReadWholeFile",   "WriteWholeFile", "ReplaceFile",         "MoveFile",
};
static_assert(sizeof kFileCallNames / sizeof kFileCallNames[0] == setup::kFileCallCount);

std::string FolderName(int file) { return "DIR" + std::to_string(file % kFolders); }
std::string FileName(int file) { return "F" + std::to_string(file) + ".DAT"; }

// Window events are counted from the transcript: label changes, and bar moves from the state.
int LabelChanges(const setup::Transcript& transcript, const std::string& window) {
  int changes = 0;
  for (const std::string& line : transcript) changes += line.rfind(window + " label: ", 0) == 0;
  return changes;
}

void PrintPerFile(const std::string& name, const setup::SimulatedMachine& machine, int pumps, int labels,
                  int barMoves) {
  for (std::size_t call = 0; call < setup::kFileCallCount; ++call) {
    const int count = machine.files().CallCount(static_cast<setup::FileCall>(call));
    if (count > 0) std::printf("figure calls.%s.%s %.3f\n", name.c_str(), kFileCallNames[call], 1.0 * count / kFiles);
  }
  std::printf("figure calls.%s.PumpMessages %.3f\n", name.c_str(), 1.0 * pumps / kFiles);
  std::printf("figure calls.%s.SetLabel %.3f\n", name.c_str(), 1.0 * labels / kFiles);
  std::printf("figure calls.%s.BarMoves %.3f\n", name.c_str(), 1.0 * barMoves / kFiles);
}

// The whole Start-button path over kFiles files in kFolders folders, the COPY list either one
// wildcard line per folder or one line per file.
bool CountInstall(bool linePerFile) {
  setup::SimulatedMachine machine;
  std::string script = "[SETUP]\r\nTITLE=Bench\r\nDIR=C:\\Bench\r\nSRC=@:\\DATA\r\nGROUP=Bench\r\n";
  script += "UNINSTALL=UNINST.INI\r\nSHORTCUT=1\r\n";
  for (int file = 0; file < kFiles; ++file) {
    machine.files().AddFileOfSize("D:\\DATA\\" + FolderName(file) + "\\" + FileName(file), 1024);
  }
  const int lines = linePerFile ? kFiles : kFolders;
  for (int line = 0; line < lines; ++line) {
    const std::string source = linePerFile ? FolderName(line) + "\\" + FileName(line) : FolderName(line) + "\\*.*";
    script += "COPY" + std::to_string(line + 1) + "=" + source + ",$\\" + FolderName(line) + "\r\n";
  }
  machine.files().AddFile("D:\\setup.ini", script);
  machine.ui().QueueAnswer(setup::Answer::Yes);  // the new folder
  setup::MessageForm form(machine.platform());
  form.FormCreate();
  machine.files().ResetCallCounts();
  const int pumpsBefore = machine.ui().pumps();
  machine.ui().TypeFolderText("C:\\Bench");
  form.OkButtonClick();
  if (form.script().InstalledFiles.size() != static_cast<std::size_t>(kFiles) || machine.ui().unexpectedBox()) {
    std::fprintf(stderr, "call_counts: the installation did not copy every file\n");
    return false;
  }
  PrintPerFile(linePerFile ? "install_line_per_file" : "install_line_per_folder", machine,
               machine.ui().pumps() - pumpsBefore, LabelChanges(machine.transcript(), "progress[main]"),
               machine.ui().mainProgress().positionChanges);
  return true;
}

// The uninstaller started on the record of kFiles files in kFolders folders.
bool CountUninstall() {
  setup::SimulatedMachine machine;
  std::vector<std::string> paths;
  for (int file = 0; file < kFiles; ++file) {
    paths.push_back("C:\\Bench\\" + FolderName(file) + "\\" + FileName(file));
    machine.files().AddFileOfSize(paths.back(), 1024);
  }
  setup::IniDocument record;
  record.Set("SETUP", "TITLE", "Bench");
  record.Set("SETUP", "GROUP", "Bench");
  record.SetList("SETUP", "COPY", paths);
  machine.files().AddFile("C:\\Bench\\UNINST.INI", record.Serialize());
  machine.StartAsUninstaller("C:\\WINDOWS\\unkelvo4.exe", "C:\\Bench\\UNINST.INI");
  machine.files().ResetCallCounts();
  setup::MessageForm form(machine.platform());
  form.FormCreate();
  bool allGone = !machine.files().Exists("C:\\Bench\\UNINST.INI");
  for (const std::string& path : paths) allGone = allGone && !machine.files().Exists(path);
  if (!allGone || machine.ui().createdProgress().empty()) {
    std::fprintf(stderr, "call_counts: the uninstallation left files behind\n");
    return false;
  }
  PrintPerFile("uninstall", machine, machine.ui().pumps(), 0, machine.ui().createdProgress().front()->positionChanges);
  return true;
}

}  // namespace
}  // namespace bench

int main() {
  const bool done = bench::CountInstall(false) && bench::CountInstall(true) && bench::CountUninstall();
  return done ? 0 : 1;
}
