// Shell calls. Every item list and buffer the shell hands out is freed with the shell's own
// allocator before the call returns.
#include "setup/platform/win32/win_shell.h"

#include <objidl.h>
#include <shellapi.h>
#include <shlobj.h>

#include "setup/platform/win32/system_library.h"
#include "setup/platform/win32/wide_text.h"
#include "setup/platform/win32/window_calls.h"

// The shell and COM functions of the layer, from shell32 and ole32 in the system folder.
#define SYSTEM_CALL(library, name) (*SystemFunction<decltype(&::name)>(library, #name))
#define SHELL_CALL(name) SYSTEM_CALL("shell32.dll", name)
#define OLE_CALL(name) SYSTEM_CALL("ole32.dll", name)

namespace setup::win32 {
namespace {

constexpr int kPathRoom = MAX_PATH;  // 260, terminator included
constexpr UINT kBroadcastTimeoutMs = 5000;

// Holds an interface pointer and releases it when the scope ends.
template <typename Interface>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (pointer_ != nullptr) pointer_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  Interface* operator->() const { return pointer_; }
  Interface* get() const { return pointer_; }
  Interface** out() { return &pointer_; }
  void** outVoid() { return reinterpret_cast<void**>(&pointer_); }

 private:
  Interface* pointer_ = nullptr;
};

// An item list owned through the shell allocator.
class ItemList {
 public:
  explicit ItemList(IMalloc* allocator) : allocator_(allocator) {}
  ~ItemList() {
    if (list_ != nullptr) allocator_->Free(list_);
  }
  ItemList(const ItemList&) = delete;
  ItemList& operator=(const ItemList&) = delete;
  LPITEMIDLIST get() const { return list_; }
  LPITEMIDLIST* out() { return &list_; }
  void reset(LPITEMIDLIST list) {
    if (list_ != nullptr) allocator_->Free(list_);
    list_ = list;
  }

 private:
  IMalloc* allocator_;
  LPITEMIDLIST list_ = nullptr;
};

// The text of a display-name answer, which the folder may give in any of three forms.
std::string StrretToAnsi(STRRET& answer, LPCITEMIDLIST item) {
  switch (answer.uType) {
    case STRRET_WSTR: {
      if (answer.pOleStr == nullptr) return std::string();
      char buffer[kPathRoom] = {};
      const int length = WideCharToMultiByte(CP_ACP, 0, answer.pOleStr, -1, buffer, kPathRoom, nullptr, nullptr);
      OLE_CALL(CoTaskMemFree)(answer.pOleStr);
      return length > 0 ? std::string(buffer) : std::string();
    }
    case STRRET_CSTR:
      return std::string(answer.cStr);
    case STRRET_OFFSET:
      return std::string(reinterpret_cast<const char*>(item) + answer.uOffset);
    default:
      return std::string();
  }
}

// The folder picker rooted at root, with no callback and only file-system folders accepted.
LPITEMIDLIST ShowPicker(HWND owner, LPCITEMIDLIST root, const WideString& title, char* displayName) {
  // Looked up rather than imported: the shell32 of the first Windows 95 may not export the
  // wide picker at all, and a missing import would keep the program from starting.
  using WidePicker = LPITEMIDLIST(WINAPI*)(LPBROWSEINFOW);
  auto widePicker = reinterpret_cast<WidePicker>(
      reinterpret_cast<void*>(GetProcAddress(LoadSystemLibrary("shell32.dll"), "SHBrowseForFolderW")));
  if (UsesWideWindowCalls() && widePicker != nullptr) {
    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root;
    info.pszDisplayName = reinterpret_cast<wchar_t*>(displayName);
    info.lpszTitle = title.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS;
    return widePicker(&info);
  }
  const std::string ansiTitle = FromWide(title, CP_ACP);
  BROWSEINFOA info = {};
  info.hwndOwner = owner;
  info.pidlRoot = root;
  info.pszDisplayName = displayName;
  info.lpszTitle = ansiTitle.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  return SHELL_CALL(SHBrowseForFolderA)(&info);
}

}  // namespace

std::optional<std::string> WinShell::SpecialFolderPath(int csidl) {
  ComPtr<IMalloc> allocator;
  if (FAILED(SHELL_CALL(SHGetMalloc)(allocator.out()))) return std::nullopt;
  ItemList folder(allocator.get());
  if (FAILED(SHELL_CALL(SHGetSpecialFolderLocation)(owner_, csidl, folder.out()))) return std::nullopt;
  char buffer[kPathRoom] = {};
  if (!SHELL_CALL(SHGetPathFromIDListA)(folder.get(), buffer) || buffer[0] == '\0') return std::nullopt;
  return std::string(buffer);
}

std::optional<std::string> WinShell::SpecialFolderParsingName(int csidl) {
  ComPtr<IMalloc> allocator;
  if (FAILED(SHELL_CALL(SHGetMalloc)(allocator.out()))) return std::nullopt;
  ComPtr<IShellFolder> desktop;
  if (FAILED(SHELL_CALL(SHGetDesktopFolder)(desktop.out()))) return std::nullopt;
  ItemList folder(allocator.get());
  if (FAILED(SHELL_CALL(SHGetSpecialFolderLocation)(GetDesktopWindow(), csidl, folder.out()))) return std::nullopt;
  STRRET answer = {};
  if (FAILED(desktop->GetDisplayNameOf(folder.get(), SHGDN_FORPARSING, &answer))) return std::nullopt;
  std::string name = StrretToAnsi(answer, folder.get());
  if (name.empty()) return std::nullopt;
  return name;
}

std::optional<std::string> WinShell::BrowseForFolder(const std::string& titleUtf8) {
  ComPtr<IMalloc> allocator;
  if (FAILED(SHELL_CALL(SHGetMalloc)(allocator.out()))) return std::nullopt;
  // On Windows NT the wide picker is used so that the Japanese title reads right under any
  // ANSI code page; its display-name buffer then holds 260 wide characters, and the same
  // buffer takes the 260-byte ANSI path afterwards. Windows 9x has only the ANSI picker.
  auto* displayName = static_cast<char*>(allocator->Alloc(kPathRoom * sizeof(wchar_t)));
  if (displayName == nullptr) return std::nullopt;
  std::optional<std::string> chosenPath;
  {
    ItemList root(allocator.get());
    if (SUCCEEDED(SHELL_CALL(SHGetSpecialFolderLocation)(owner_, CSIDL_DRIVES, root.out()))) {
      ItemList chosen(allocator.get());
      chosen.reset(ShowPicker(owner_, root.get(), Utf8ToWide(titleUtf8), displayName));
      if (chosen.get() != nullptr && SHELL_CALL(SHGetPathFromIDListA)(chosen.get(), displayName)) {
        chosenPath = std::string(displayName);
      }
    }
  }
  allocator->Free(displayName);
  return chosenPath;
}

bool WinShell::OpenFile(const std::string& path) {
  // ShellExecuteA reports success with a value above 32.
  const HINSTANCE result = SHELL_CALL(ShellExecuteA)(owner_, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<std::uintptr_t>(result) > 32;
}

bool WinShell::SaveShellLink(const ShellLinkData& link) {
  // The link interfaces take paths of at most MAX_PATH bytes; a longer one is refused rather than
  // cut short into a different path.
  if (link.linkPath.size() >= MAX_PATH || link.targetPath.size() >= MAX_PATH) return false;
  const HRESULT initialized = OLE_CALL(CoInitialize)(nullptr);
  bool saved = false;
  {
    ComPtr<IShellLinkA> shellLink;
    if (SUCCEEDED(OLE_CALL(CoCreateInstance)(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                             shellLink.outVoid()))) {
      shellLink->SetWorkingDirectory(link.workingFolder.c_str());
      shellLink->SetPath(link.targetPath.c_str());
      shellLink->SetDescription(link.description.c_str());
      ComPtr<IPersistFile> file;
      if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, file.outVoid()))) {
        wchar_t widePath[kPathRoom] = {};
        if (MultiByteToWideChar(CP_ACP, 0, link.linkPath.c_str(), -1, widePath, kPathRoom) > 0) {
          saved = SUCCEEDED(file->Save(widePath, TRUE));
        }
      }
    }
  }
  if (SUCCEEDED(initialized)) OLE_CALL(CoUninitialize)();
  return saved;
}

// Sent to every top-level window: one program that has stopped answering messages would keep
// the installation waiting for ever. Windows that the system already knows to be hung are
// passed over at once, others that do not answer in time are given up; the result does not
// matter, the installation goes on either way.
void WinShell::BroadcastSettingChange() {
  DWORD_PTR ignored = 0;
  SendMessageTimeoutA(HWND_BROADCAST, WM_SETTINGCHANGE, 0, 0, SMTO_ABORTIFHUNG, kBroadcastTimeoutMs, &ignored);
}

}  // namespace setup::win32
