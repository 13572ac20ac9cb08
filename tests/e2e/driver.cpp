// End-to-end driver: starts a Windows program, waits for its windows, reads and types their
// texts, presses their buttons and checks the outcome, following a scenario file.
//
// Usage: e2e_driver SCENARIO.txt [NAME=VALUE ...]
// Each scenario line is one command; words are separated by blanks, "double quotes" group a
// word, ${NAME} is replaced by a NAME=VALUE argument, a "set" command or the environment,
// ${CRLF} is a carriage return and line feed. Lines starting with # are comments.
//
//   set NAME VALUE                  define a variable
//   timeout SECONDS                 how long the waiting commands wait (default 20)
//   cd FOLDER                       working folder of the next start (default: the program's)
//   start PROGRAM [ARG ...]         start a program; it becomes the process under test
//   start-line COMMAND LINE         start a whole command line exactly as written
//   follow IMAGE                    make a running process named IMAGE (setup.exe) the one under test
//   window ALIAS CLASS CAPTION      wait for a visible top-level window of that process (CAPTION * = any)
//   text ALIAS CONTROL TEXT         wait until the control shows TEXT; CONTROL is "caption" (the
//                                   window's own), a class (the first such child) or CLASS#N
//   has ALIAS CLASS TEXT            wait until some child of that class shows TEXT (a TEXT ending
//                                   in * matches any text that starts with what comes before it)
//   type ALIAS CONTROL TEXT         replace the control's text (WM_SETTEXT)
//   click ALIAS BUTTON-TEXT         press the button with that text (posted BM_CLICK)
//   box ALIAS CAPTION MESSAGE BUTTON-TEXT ...
//                                   wait for our message box with that caption, message and buttons
//   key ALIAS Escape|Return|Tab     post a key press to the focused control of that window
//   close ALIAS                     post WM_CLOSE to the window, as its close button or Alt+F4 does
//   closed ALIAS                    wait until the window is hidden or destroyed
//   shown CLASS CAPTION             wait until the process has shown such a top-level window at
//                                   some moment since it started, even if it is gone again
//   watch-boxes                     from now on a message box that no command waits for (an error
//                                   the scenario did not expect) ends the run at once, with its text
//   running                         the process under test has not ended
//   exit CODE                       wait for the process under test to end with CODE
//   codepage NUMBER                 the system's ANSI code page is NUMBER (932, 1252)
//   delete FILE                     delete a file, as a user freeing space does
//   sleep MILLISECONDS
//   screenshot FILE.bmp             save the screen
//   link FILE.lnk TARGET FOLDER DESCRIPTION
//                                   a shell link file with that target, working folder and description
//
// The transcript goes to standard output as UTF-8. The first mismatch or timeout ends the run
// with exit code 1, naming the line and what was found instead; bad usage gives exit code 2.
#include <windows.h>

#include <objbase.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "tests/e2e/scenario_text.h"
#include "tests/e2e/screenshot.h"

namespace e2e {
namespace {

constexpr DWORD kPollMilliseconds = 50;
constexpr UINT kMessageTimeoutMilliseconds = 2000;

void Print(const std::wstring& text) {
  std::string utf8 = WideToUtf8(text + L"\n");
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

std::wstring Quoted(const std::wstring& text) {
  std::wstring shown;
  for (wchar_t c : text) {
    if (c == L'\r') {
      shown += L"\\r";
    } else if (c == L'\n') {
      shown += L"\\n";
    } else {
      shown += c;
    }
  }
  return L"\"" + shown + L"\"";
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

// A text as a scenario gives it: whole, or up to a "*" at its end, after which anything may follow.
bool TextMatches(const std::wstring& text, const std::wstring& pattern) {
  if (pattern.empty() || pattern.back() != L'*') return text == pattern;
  return text.compare(0, pattern.size() - 1, pattern, 0, pattern.size() - 1) == 0;
}

bool SameClass(HWND window, const std::wstring& className) {
  return _wcsicmp(ClassOf(window).c_str(), className.c_str()) == 0;
}

// Reads a window's text by message, so edit boxes of another process answer with their contents.
std::wstring TextOf(HWND window) {
  DWORD_PTR length = 0;
  if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeoutMilliseconds, &length)) {
    return L"<no answer>";
  }
  std::vector<wchar_t> buffer(length + 2, L'\0');
  DWORD_PTR copied = 0;
  SendMessageTimeoutW(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()), SMTO_ABORTIFHUNG,
                      kMessageTimeoutMilliseconds, &copied);
  return std::wstring(buffer.data(), std::min<size_t>(copied, buffer.size()));
}

struct TopLevelSearch {
  DWORD processId;
  std::vector<HWND> found;
};

// Callbacks the system calls are CALLBACK (stdcall on i686), so they are named functions, not
// lambdas.
BOOL CALLBACK CollectTopLevel(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<TopLevelSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  TopLevelSearch search{processId, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

struct ChildSearch {
  std::wstring className;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectChild(HWND window, LPARAM parameter) {
  auto* search = reinterpret_cast<ChildSearch*>(parameter);
  if (search->className.empty() || SameClass(window, search->className)) search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> ChildrenOf(HWND parent, const std::wstring& className) {
  ChildSearch search{className, {}};
  EnumChildWindows(parent, CollectChild, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::wstring DescribeWindows(const std::vector<HWND>& windows) {
  if (windows.empty()) return L"none";
  std::wstring described;
  for (HWND window : windows) {
    wchar_t caption[512] = {};
    GetWindowTextW(window, caption, 512);
    if (!described.empty()) described += L", ";
    described += ClassOf(window) + L" " + Quoted(caption);
  }
  return described;
}

std::wstring DescribeChildren(HWND parent, const std::wstring& className) {
  std::wstring described;
  for (HWND child : ChildrenOf(parent, className)) {
    if (!described.empty()) described += L", ";
    described += ClassOf(child) + L" " + Quoted(TextOf(child));
  }
  return described.empty() ? L"no " + className + L" controls" : described;
}

// Records every top-level window that the process under test shows, as class and caption, by
// looking at its visible windows every few milliseconds on a thread of its own. Windows that
// are up only briefly (the copy progress of a small installation) are caught this way.
class ShowRecorder {
 public:
  ShowRecorder() {
    InitializeCriticalSection(&lock_);
    thread_ = CreateThread(nullptr, 0, &ShowRecorder::Loop, this, 0, nullptr);
  }
  ~ShowRecorder() {
    InterlockedExchange(&stop_, 1);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    DeleteCriticalSection(&lock_);
  }

  // Forgets what was seen and watches processId from now on.
  void Watch(DWORD processId) {
    EnterCriticalSection(&lock_);
    seen_.clear();
    processId_ = processId;
    LeaveCriticalSection(&lock_);
  }

  std::vector<std::pair<std::wstring, std::wstring>> Seen() {
    EnterCriticalSection(&lock_);
    auto copy = seen_;
    LeaveCriticalSection(&lock_);
    return copy;
  }

 private:
  static DWORD WINAPI Loop(void* self) {
    auto* recorder = static_cast<ShowRecorder*>(self);
    while (InterlockedCompareExchange(&recorder->stop_, 0, 0) == 0) {
      recorder->Sample();
      Sleep(5);
    }
    return 0;
  }

  void Sample() {
    EnterCriticalSection(&lock_);
    DWORD processId = processId_;
    LeaveCriticalSection(&lock_);
    if (processId == 0) return;
    for (HWND window : TopLevelWindowsOf(processId)) {
      wchar_t caption[512] = {};
      GetWindowTextW(window, caption, 512);
      std::pair<std::wstring, std::wstring> entry(ClassOf(window), caption);
      EnterCriticalSection(&lock_);
      if (processId_ == processId && std::find(seen_.begin(), seen_.end(), entry) == seen_.end()) {
        seen_.push_back(entry);
      }
      LeaveCriticalSection(&lock_);
    }
  }

  CRITICAL_SECTION lock_;
  HANDLE thread_ = nullptr;
  volatile LONG stop_ = 0;
  DWORD processId_ = 0;
  std::vector<std::pair<std::wstring, std::wstring>> seen_;
};

class Failure {
 public:
  explicit Failure(std::wstring reason) : reason_(std::move(reason)) {}
  const std::wstring& reason() const { return reason_; }

 private:
  std::wstring reason_;
};

class Driver {
 public:
  explicit Driver(std::map<std::wstring, std::wstring> variables) : variables_(std::move(variables)) {
    variables_[L"CRLF"] = L"\r\n";
    start_ = GetTickCount();
  }
  ~Driver() {
    if (process_ != nullptr) CloseHandle(process_);
  }

  int Run(const std::vector<ScenarioLine>& lines) {
    for (const ScenarioLine& line : lines) {
      std::vector<std::wstring> words;
      std::wstring rest;
      std::wstring missing;
      for (const std::wstring& word : line.words) {
        std::wstring expanded;
        if (!ExpandVariables(word, variables_, &expanded, &missing))
          return Fail(line, L"undefined variable " + missing);
        words.push_back(expanded);
      }
      if (!ExpandVariables(line.rest, variables_, &rest, &missing)) return Fail(line, L"undefined variable " + missing);
      Print(Stamp() + L"line " + std::to_wstring(line.number) + L": " + Joined(words));
      try {
        Execute(words, rest);
      } catch (const Failure& failure) {
        return Fail(line, failure.reason());
      }
    }
    Print(Stamp() + L"scenario passed");
    return 0;
  }

 private:
  using Command = std::function<void(Driver*, const std::vector<std::wstring>&, const std::wstring&)>;

  struct CommandSpec {
    size_t minWords;  // the command word included
    size_t maxWords;
    Command run;
  };

  static const std::map<std::wstring, CommandSpec>& Commands() {
    static const std::map<std::wstring, CommandSpec> commands = {
        {L"set", {3, 3, [](Driver* d, auto& w, auto&) { d->variables_[w[1]] = w[2]; }}},
        {L"timeout",
         {2, 2, [](Driver* d, auto& w, auto&) { d->timeoutMs_ = static_cast<DWORD>(_wtoi(w[1].c_str())) * 1000; }}},
        {L"cd", {2, 2, [](Driver* d, auto& w, auto&) { d->workFolder_ = w[1]; }}},
        {L"start", {2, 64, [](Driver* d, auto& w, auto&) { d->Start(w); }}},
        {L"start-line", {2, 64, [](Driver* d, auto&, auto& rest) { d->StartLine(rest); }}},
        {L"follow", {2, 2, [](Driver* d, auto& w, auto&) { d->Follow(w[1]); }}},
        {L"window", {4, 4, [](Driver* d, auto& w, auto&) { d->WaitWindow(w[1], w[2], w[3]); }}},
        {L"text", {4, 4, [](Driver* d, auto& w, auto&) { d->WaitText(w[1], w[2], w[3]); }}},
        {L"has", {4, 4, [](Driver* d, auto& w, auto&) { d->WaitChildWithText(w[1], w[2], w[3]); }}},
        {L"type", {4, 4, [](Driver* d, auto& w, auto&) { d->TypeText(w[1], w[2], w[3]); }}},
        {L"click", {3, 3, [](Driver* d, auto& w, auto&) { d->Click(w[1], w[2]); }}},
        {L"box", {5, 8, [](Driver* d, auto& w, auto&) { d->WaitBox(w); }}},
        {L"key", {3, 3, [](Driver* d, auto& w, auto&) { d->PostKey(w[1], w[2]); }}},
        {L"close", {2, 2, [](Driver* d, auto& w, auto&) { d->PostClose(w[1]); }}},
        {L"closed", {2, 2, [](Driver* d, auto& w, auto&) { d->WaitClosed(w[1]); }}},
        {L"running", {1, 1, [](Driver* d, auto&, auto&) { d->CheckRunning(); }}},
        {L"exit", {2, 2, [](Driver* d, auto& w, auto&) { d->WaitExit(static_cast<DWORD>(_wtoi(w[1].c_str()))); }}},
        {L"codepage", {2, 2, [](Driver*, auto& w, auto&) { CheckCodePage(static_cast<UINT>(_wtoi(w[1].c_str()))); }}},
        {L"shown", {3, 3, [](Driver* d, auto& w, auto&) { d->WaitShown(w[1], w[2]); }}},
        {L"watch-boxes", {1, 1, [](Driver* d, auto&, auto&) { d->watchBoxes_ = true; }}},
        {L"delete",
         {2, 2,
          [](Driver*, auto& w, auto&) {
            if (!DeleteFileW(w[1].c_str())) throw Failure(L"cannot delete " + w[1]);
          }}},
        {L"sleep", {2, 2, [](Driver*, auto& w, auto&) { Sleep(static_cast<DWORD>(_wtoi(w[1].c_str()))); }}},
        {L"screenshot", {2, 2, [](Driver*, auto& w, auto&) { Screenshot(w[1]); }}},
        {L"link", {5, 5, [](Driver*, auto& w, auto&) { CheckLink(w[1], w[2], w[3], w[4]); }}},
    };
    return commands;
  }

  void Execute(const std::vector<std::wstring>& words, const std::wstring& rest) {
    auto found = Commands().find(words[0]);
    if (found == Commands().end()) throw Failure(L"unknown command " + words[0]);
    const CommandSpec& command = found->second;
    if (words.size() < command.minWords || words.size() > command.maxWords) throw Failure(L"wrong number of words");
    command.run(this, words, rest);
  }

  int Fail(const ScenarioLine& line, const std::wstring& reason) {
    Print(Stamp() + L"FAILED at line " + std::to_wstring(line.number) + L": " + reason);
    return 1;
  }

  std::wstring Stamp() const {
    DWORD elapsed = GetTickCount() - start_;
    wchar_t stamp[32];
    swprintf(stamp, 32, L"[%4lu.%02lus] ", elapsed / 1000, (elapsed % 1000) / 10);
    return stamp;
  }

  static std::wstring Joined(const std::vector<std::wstring>& words) {
    std::wstring joined;
    for (const std::wstring& word : words) {
      if (!joined.empty()) joined += L' ';
      joined += word.find_first_of(L" \r\n") == std::wstring::npos && !word.empty() ? word : Quoted(word);
    }
    return joined;
  }

  // Polls check until it returns true; on timeout throws with the text that describe gives.
  void WaitFor(const std::function<bool()>& check, const std::function<std::wstring()>& describe) {
    DWORD begin = GetTickCount();
    while (!check()) {
      ThrowOnUnexpectedBox();
      if (GetTickCount() - begin > timeoutMs_) throw Failure(L"timed out; " + describe());
      Sleep(kPollMilliseconds);
    }
  }

  // Our own boxes and the system's dialogs (class #32770): an error shown where the scenario expects
  // something else would otherwise be reported only by the timeout, long after, without its text.
  static bool IsBox(HWND window) { return SameClass(window, L"SetupMessageBox") || SameClass(window, L"#32770"); }

  bool IsKnown(HWND window) const {
    if (answered_.count(window) != 0) return true;
    return std::any_of(windows_.begin(), windows_.end(), [&](const auto& known) { return known.second == window; });
  }

  void ThrowOnUnexpectedBox() const {
    if (!watchBoxes_ || process_ == nullptr) return;
    for (HWND window : TopLevelWindowsOf(processId_)) {
      if (!IsBox(window) || IsKnown(window) || IsAwaited(window)) continue;
      wchar_t caption[512] = {};
      GetWindowTextW(window, caption, 512);
      std::wstring says;
      for (HWND label : ChildrenOf(window, L"Static")) {
        const std::wstring text = TextOf(label);
        if (!text.empty()) says += L" " + Quoted(text);
      }
      throw Failure(L"an unexpected box " + Quoted(caption) + L" says" + says);
    }
  }

  void StartProcess(std::wstring commandLine, const std::wstring& folder) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    // Suspended until the recorder watches it, so that no window escapes the record.
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
      throw Failure(L"cannot start (error " + std::to_wstring(GetLastError()) + L")");
    }
    Adopt(info.hProcess, info.dwProcessId);
    ResumeThread(info.hThread);
    CloseHandle(info.hThread);
    Print(L"           started process " + std::to_wstring(processId_));
  }

  void Start(const std::vector<std::wstring>& words) {
    std::wstring commandLine;
    for (size_t i = 1; i < words.size(); ++i) {
      if (!commandLine.empty()) commandLine += L' ';
      commandLine +=
          words[i].find(L' ') == std::wstring::npos && !words[i].empty() ? words[i] : L"\"" + words[i] + L"\"";
    }
    std::wstring folder = workFolder_;
    if (folder.empty()) {
      size_t slash = words[1].find_last_of(L"\\/");
      if (slash != std::wstring::npos) folder = words[1].substr(0, slash == 2 ? 3 : slash);
    }
    StartProcess(commandLine, folder);
  }

  void StartLine(const std::wstring& commandLine) { StartProcess(commandLine, workFolder_); }

  void Follow(const std::wstring& image) {
    DWORD found = 0;
    WaitFor([&] { return (found = FindProcess(image)) != 0; }, [&] { return L"no process named " + image; });
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, found);
    if (process == nullptr) throw Failure(L"cannot open process " + std::to_wstring(found));
    Adopt(process, found);
    Print(L"           following process " + std::to_wstring(processId_));
  }

  static DWORD FindProcess(const std::wstring& image) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    DWORD found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
      if (_wcsicmp(entry.szExeFile, image.c_str()) == 0) found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
  }

  void RequireProcess() const {
    if (process_ == nullptr) throw Failure(L"no process under test (start or follow first)");
  }

  void Adopt(HANDLE process, DWORD processId) {
    if (process_ != nullptr) CloseHandle(process_);
    process_ = process;
    processId_ = processId;
    recorder_.Watch(processId);
  }

  void WaitShown(const std::wstring& className, const std::wstring& caption) {
    RequireProcess();
    auto seen = [&] {
      for (const auto& shown : recorder_.Seen()) {
        if (_wcsicmp(shown.first.c_str(), className.c_str()) == 0 && (caption == L"*" || shown.second == caption)) {
          return true;
        }
      }
      return FindTopLevel(className, caption) != nullptr;
    };
    WaitFor(seen, [&] {
      std::wstring described;
      for (const auto& shown : recorder_.Seen()) {
        described += (described.empty() ? L"" : L", ") + shown.first + L" " + Quoted(shown.second);
      }
      return L"windows shown so far: " + (described.empty() ? std::wstring(L"none") : described);
    });
  }

  static bool Matches(HWND window, const std::wstring& className, const std::wstring& caption) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return SameClass(window, className) && (caption == L"*" || caption == text);
  }

  HWND FindTopLevel(const std::wstring& className, const std::wstring& caption) const {
    for (HWND window : TopLevelWindowsOf(processId_)) {
      if (answered_.count(window) == 0 && Matches(window, className, caption)) return window;
    }
    return nullptr;
  }

  bool IsAwaited(HWND window) const {
    return !awaited_.first.empty() && Matches(window, awaited_.first, awaited_.second);
  }

  void WaitWindow(const std::wstring& alias, const std::wstring& className, const std::wstring& caption) {
    RequireProcess();
    HWND found = nullptr;
    awaited_ = {className, caption};
    WaitFor([&] { return (found = FindTopLevel(className, caption)) != nullptr || HasEnded(); },
            [&] { return L"visible windows: " + DescribeWindows(TopLevelWindowsOf(processId_)); });
    awaited_ = {};
    if (found == nullptr) throw Failure(L"the process ended; exit code " + std::to_wstring(ExitCode()));
    windows_[alias] = found;
  }

  HWND Window(const std::wstring& alias) const {
    auto found = windows_.find(alias);
    if (found == windows_.end()) throw Failure(L"no window called " + alias);
    return found->second;
  }

  // CONTROL is "caption", a class name (its first child of that class) or CLASS#N (the N-th).
  HWND Control(HWND window, const std::wstring& control) const {
    if (control == L"caption") return window;
    size_t hash = control.find(L'#');
    std::wstring className = control.substr(0, hash);
    size_t index = hash == std::wstring::npos ? 1 : static_cast<size_t>(_wtoi(control.c_str() + hash + 1));
    std::vector<HWND> children = ChildrenOf(window, className);
    return index >= 1 && index <= children.size() ? children[index - 1] : nullptr;
  }

  void WaitText(const std::wstring& alias, const std::wstring& control, const std::wstring& expected) {
    HWND window = Window(alias);
    std::wstring seen;
    WaitFor(
        [&] {
          HWND target = Control(window, control);
          seen = target == nullptr ? L"<no such control>" : TextOf(target);
          return target != nullptr && seen == expected;
        },
        [&] { return L"expected " + Quoted(expected) + L", found " + Quoted(seen); });
  }

  void WaitChildWithText(const std::wstring& alias, const std::wstring& className, const std::wstring& expected) {
    HWND window = Window(alias);
    WaitFor(
        [&] {
          for (HWND child : ChildrenOf(window, className)) {
            if (!TextMatches(TextOf(child), expected)) continue;
            if (expected != TextOf(child)) Print(L"           shows " + Quoted(TextOf(child)));
            return true;
          }
          return false;
        },
        [&] {
          return L"no " + className + L" shows " + Quoted(expected) + L"; found " + DescribeChildren(window, className);
        });
  }

  void TypeText(const std::wstring& alias, const std::wstring& control, const std::wstring& text) {
    HWND window = Window(alias);
    HWND target = nullptr;
    WaitFor([&] { return (target = Control(window, control)) != nullptr; }, [&] { return L"no control " + control; });
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(target, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_ABORTIFHUNG,
                             kMessageTimeoutMilliseconds, &result)) {
      throw Failure(L"the control did not take the text");
    }
  }

  HWND ButtonWithText(HWND window, const std::wstring& text) const {
    for (HWND button : ChildrenOf(window, L"Button")) {
      if (TextOf(button) == text) return button;
    }
    return nullptr;
  }

  // Posted, not sent: the click handler may open a modal box, and a sent message would wait for it.
  void Click(const std::wstring& alias, const std::wstring& text) {
    HWND window = Window(alias);
    HWND button = nullptr;
    WaitFor([&] { return (button = ButtonWithText(window, text)) != nullptr && IsWindowEnabled(button); },
            [&] { return L"no enabled button " + Quoted(text) + L"; found " + DescribeChildren(window, L"Button"); });
    if (!PostMessageW(button, BM_CLICK, 0, 0)) throw Failure(L"cannot post the click");
    // A box that is closing may stay visible for a moment: a later wait must not take it for the next one.
    if (SameClass(window, L"SetupMessageBox")) answered_.insert(window);
  }

  void WaitBox(const std::vector<std::wstring>& words) {
    const std::wstring& alias = words[1];
    WaitWindow(alias, L"SetupMessageBox", words[2]);
    WaitChildWithText(alias, L"Static", words[3]);
    std::vector<std::wstring> expected(words.begin() + 4, words.end());
    std::sort(expected.begin(), expected.end());
    HWND box = Window(alias);
    std::vector<std::wstring> seen;
    WaitFor(
        [&] {
          seen.clear();
          for (HWND button : ChildrenOf(box, L"Button")) seen.push_back(TextOf(button));
          std::sort(seen.begin(), seen.end());
          return seen == expected;
        },
        [&] { return L"buttons found: " + DescribeChildren(box, L"Button"); });
  }

  void PostKey(const std::wstring& alias, const std::wstring& key) {
    static const std::map<std::wstring, WPARAM> keys = {
        {L"Escape", VK_ESCAPE}, {L"Return", VK_RETURN}, {L"Tab", VK_TAB}};
    auto found = keys.find(key);
    if (found == keys.end()) throw Failure(L"unknown key " + key);
    HWND window = Window(alias);
    if (found->second == VK_ESCAPE && SameClass(window, L"SetupMessageBox")) answered_.insert(window);
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    HWND target = window;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndFocus != nullptr) {
      target = info.hwndFocus;
    }
    Print(L"           key goes to " + ClassOf(target) + L" " + Quoted(TextOf(target)));
    UINT scan = MapVirtualKeyW(static_cast<UINT>(found->second), 0);
    PostMessageW(target, WM_KEYDOWN, found->second, 1 | (static_cast<LPARAM>(scan) << 16));
    PostMessageW(target, WM_KEYUP, found->second, 1 | (static_cast<LPARAM>(scan) << 16) | 0xC0000000);
  }

  void PostClose(const std::wstring& alias) {
    HWND window = Window(alias);
    if (SameClass(window, L"SetupMessageBox")) answered_.insert(window);
    PostMessageW(window, WM_CLOSE, 0, 0);
  }

  void WaitClosed(const std::wstring& alias) {
    HWND window = Window(alias);
    WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, [] { return std::wstring(L"still shown"); });
    windows_.erase(alias);
  }

  bool HasEnded() const { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

  DWORD ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
  }

  void CheckRunning() const {
    RequireProcess();
    if (HasEnded()) throw Failure(L"the process has ended with exit code " + std::to_wstring(ExitCode()));
  }

  void WaitExit(DWORD expected) {
    RequireProcess();
    if (WaitForSingleObject(process_, timeoutMs_) != WAIT_OBJECT_0) {
      throw Failure(L"the process is still running; visible windows: " +
                    DescribeWindows(TopLevelWindowsOf(processId_)));
    }
    if (ExitCode() != expected) throw Failure(L"exit code " + std::to_wstring(ExitCode()));
  }

  static void CheckCodePage(UINT expected) {
    if (GetACP() != expected) throw Failure(L"the ANSI code page is " + std::to_wstring(GetACP()));
  }

  static void Screenshot(const std::wstring& path) {
    std::wstring error;
    if (!SaveScreenAsBmp(path, &error)) throw Failure(error);
  }

  static void CheckLink(const std::wstring& file, const std::wstring& target, const std::wstring& folder,
                        const std::wstring& description) {
    CoInitialize(nullptr);
    IShellLinkW* link = nullptr;
    IPersistFile* persist = nullptr;
    std::wstring problem;
    wchar_t path[MAX_PATH] = {}, work[MAX_PATH] = {}, text[MAX_PATH] = {};
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))) ||
        FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist)))) {
      problem = L"no shell link object";
    } else if (FAILED(persist->Load(file.c_str(), STGM_READ))) {
      problem = L"cannot load " + file;
    } else {
      link->GetPath(path, MAX_PATH, nullptr, SLGP_RAWPATH);
      link->GetWorkingDirectory(work, MAX_PATH);
      link->GetDescription(text, MAX_PATH);
      if (target != path || folder != work || description != text) {
        problem =
            L"the link holds target " + Quoted(path) + L", folder " + Quoted(work) + L", description " + Quoted(text);
      }
    }
    if (persist != nullptr) persist->Release();
    if (link != nullptr) link->Release();
    CoUninitialize();
    if (!problem.empty()) throw Failure(problem);
  }

  std::map<std::wstring, std::wstring> variables_;
  std::map<std::wstring, HWND> windows_;
  std::set<HWND> answered_;
  std::pair<std::wstring, std::wstring> awaited_;  // class and caption of the window being waited for
  bool watchBoxes_ = false;
  std::wstring workFolder_;
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  ShowRecorder recorder_;
  DWORD timeoutMs_ = 20000;
  DWORD start_ = 0;
};

bool ReadWholeFile(const std::wstring& path, std::string* bytes) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) bytes->append(buffer, got);
  CloseHandle(file);
  return true;
}

int RunFromCommandLine() {
  int count = 0;
  wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
  if (arguments == nullptr || count < 2) {
    Print(L"usage: e2e_driver SCENARIO.txt [NAME=VALUE ...]");
    return 2;
  }
  std::map<std::wstring, std::wstring> variables;
  for (int i = 2; i < count; ++i) {
    std::wstring argument = arguments[i];
    size_t equals = argument.find(L'=');
    if (equals == std::wstring::npos) {
      Print(L"not NAME=VALUE: " + argument);
      return 2;
    }
    variables[argument.substr(0, equals)] = argument.substr(equals + 1);
  }
  std::string text;
  if (!ReadWholeFile(arguments[1], &text)) {
    Print(L"cannot read " + std::wstring(arguments[1]));
    return 2;
  }
  LocalFree(arguments);
  return Driver(variables).Run(ParseScenario(text));
}

}  // namespace
}  // namespace e2e

int main() { return e2e::RunFromCommandLine(); }
