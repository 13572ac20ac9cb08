// Checks of the program's windows: the message box's answers, the notice, the main dialog's
// keyboard handling and texts, the background, the progress window and the end of the loop.
// Modal windows are answered from a thread timer, which their own message loop dispatches.
#include "setup/platform/win32/windows_api.h"

#include <commctrl.h>

#include <functional>
#include <vector>

#include "setup/app/message_form.h"
#include "setup/platform/win32/wide_text.h"
#include "setup/platform/win32/win_file_system.h"
#include "setup/platform/win32/win_registry.h"
#include "setup/platform/win32/win_shell.h"
#include "setup/platform/win32/win_system.h"
#include "setup/platform/win32/window_calls.h"
#include "setup/program/program_startup.h"
#include "setup/windows/win_user_interface.h"
#include "tests/win32/check.h"
#include "tests/win32/layer_tests.h"

namespace setup::win32::test {
namespace {

constexpr int kTickMilliseconds = 50;
constexpr int kGiveUpTicks = 100;

WideString ClassOf(HWND window) {
  wchar_t name[128] = {};
  GetClassNameW(window, name, 128);
  return name;
}

std::vector<HWND> Children(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::vector<WideString> ChildTexts(HWND parent, const wchar_t* className) {
  std::vector<WideString> texts;
  for (HWND child : Children(parent)) {
    if (ClassOf(child) == className) texts.push_back(WindowTextWide(child));
  }
  return texts;
}

HWND ChildOfClass(HWND parent, const wchar_t* className, int index = 0) {
  for (HWND child : Children(parent)) {
    if (ClassOf(child) == className && index-- == 0) return child;
  }
  return nullptr;
}

struct ThreadWindowSearch {
  const wchar_t* className;
  HWND found;
};

BOOL CALLBACK MatchVisibleWindow(HWND window, LPARAM context) {
  auto* search = reinterpret_cast<ThreadWindowSearch*>(context);
  if (IsWindowVisible(window) && ClassOf(window) == search->className) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND VisibleThreadWindow(const wchar_t* className) {
  ThreadWindowSearch search = {className, nullptr};
  EnumThreadWindows(GetCurrentThreadId(), &MatchVisibleWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

void CALLBACK IgnoreTimer(HWND, UINT, UINT_PTR, DWORD) {}

void Pump(int milliseconds) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  MSG message;
  while (static_cast<int>(end - GetTickCount()) > 0) {
    while (PeekNextMessage(&message)) DispatchWithDialogKeys(message);
    Sleep(10);
  }
}

void PostKey(HWND target, UINT key) {
  PostMessageW(target, WM_KEYDOWN, key, 1);
  PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

SIZE ClientSize(HWND window) {
  RECT client;
  GetClientRect(window, &client);
  return {client.right, client.bottom};
}

RECT BoundsInParent(HWND control) {
  RECT bounds;
  GetWindowRect(control, &bounds);
  MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&bounds), 2);
  return bounds;
}

// Pixels of the area, in the window's client coordinates and its controls' pixels included,
// that are (or are not) of the colour.
int PixelsOfColour(HWND window, const RECT& area, COLORREF colour, bool of = true) {
  HDC dc = GetDCEx(window, nullptr, DCX_CACHE);
  int count = 0;
  for (int y = area.top; y < area.bottom; ++y) {
    for (int x = area.left; x < area.right; ++x) {
      if ((GetPixel(dc, x, y) == colour) == of) ++count;
    }
  }
  ReleaseDC(window, dc);
  return count;
}

bool HasPendingPaint(HWND window) { return GetUpdateRect(window, nullptr, FALSE) != FALSE; }

bool CentredOnScreen(HWND window) {
  RECT bounds;
  GetWindowRect(window, &bounds);
  const int dx = (bounds.left + bounds.right) - GetSystemMetrics(SM_CXSCREEN);
  const int dy = (bounds.top + bounds.bottom) - GetSystemMetrics(SM_CYSCREEN);
  return dx >= -2 && dx <= 2 && dy >= -2 && dy <= 2;
}

// What a modal window looked like when the timer found it, and how the script answered it.
struct ModalVisit {
  const wchar_t* className = nullptr;
  std::function<void(HWND window)> answer;
  HWND window = nullptr;
  WideString caption;
  WideString focusText;
  std::vector<WideString> statics;
  std::vector<WideString> buttons;
  bool centred = false;
  bool ownerDisabled = false;
  int ticks = 0;
  bool timedOut = false;
};

ModalVisit* g_visit = nullptr;
HWND g_watchedOwner = nullptr;

void CALLBACK VisitModalWindow(HWND, UINT, UINT_PTR, DWORD) {
  ModalVisit& visit = *g_visit;
  HWND window = VisibleThreadWindow(visit.className);
  if (window != nullptr && visit.window == nullptr) {
    visit.window = window;
    visit.caption = WindowTextWide(window);
    HWND focus = GetFocus();
    visit.focusText = focus != nullptr ? WindowTextWide(focus) : L"";
    visit.statics = ChildTexts(window, L"Static");
    visit.buttons = ChildTexts(window, L"Button");
    visit.centred = CentredOnScreen(window);
    visit.ownerDisabled = g_watchedOwner != nullptr && !IsWindowEnabled(g_watchedOwner);
    visit.answer(window);
    return;
  }
  if (++visit.ticks > kGiveUpTicks && window != nullptr) {
    visit.timedOut = true;
    PostMessageW(window, WM_CLOSE, 0, 0);
  }
}

template <typename Call>
auto WhileVisiting(ModalVisit& visit, Call call) {
  g_visit = &visit;
  const UINT_PTR timer = SetTimer(nullptr, 0, kTickMilliseconds, &VisitModalWindow);
  auto result = call();
  KillTimer(nullptr, timer);
  g_visit = nullptr;
  return result;
}

Answer AskAndAnswer(WinUserInterface& ui, BoxKind kind, BoxButtons buttons, const std::string& text,
                    std::function<void(HWND)> answer, ModalVisit* visit) {
  visit->className = L"SetupMessageBox";
  visit->answer = std::move(answer);
  const Answer result = WhileVisiting(*visit, [&] { return ui.MessageBox(kind, buttons, text); });
  CHECK(visit->window != nullptr);
  CHECK(!visit->timedOut);
  return result;
}

void PressFocused(UINT key) { PostKey(GetFocus(), key); }

void TestMessageBoxAnswers(WinUserInterface& ui) {
  BeginGroup("message box: default, Escape, access keys and close");
  ModalVisit escape;
  CHECK(AskAndAnswer(
            ui, BoxKind::Confirmation, BoxButtons::YesNo, "フォルダが存在しません\r\nフォルダを作成しますか？",
            [](HWND) { PressFocused(VK_ESCAPE); }, &escape) == Answer::No);
  CHECK_EQ(escape.caption, WideString(L"確認"));
  CHECK(escape.buttons == (std::vector<WideString>{L"はい(&Y)", L"いいえ(&N)"}));
  CHECK_EQ(escape.focusText, WideString(L"はい(&Y)"));
  CHECK(escape.statics.size() == 2 && escape.statics[1] == L"フォルダが存在しません\r\nフォルダを作成しますか？");
  CHECK(escape.centred);
  CHECK(escape.ownerDisabled);
  CHECK(IsWindowEnabled(ui.MainDialog()));

  ModalVisit enter;
  CHECK(AskAndAnswer(
            ui, BoxKind::Warning, BoxButtons::YesNo, "終了しますか？", [](HWND) { PressFocused(VK_RETURN); }, &enter) ==
        Answer::Yes);
  CHECK_EQ(enter.caption, WideString(L"警告"));

  // Enter presses the push button that has the focus, not the default one.
  ModalVisit tabEnter;
  CHECK(AskAndAnswer(
            ui, BoxKind::Warning, BoxButtons::YesNo, "終了しますか？",
            [](HWND) {
              PressFocused(VK_TAB);
              PressFocused(VK_RETURN);
            },
            &tabEnter) == Answer::No);

  ModalVisit letterN;
  CHECK(AskAndAnswer(
            ui, BoxKind::Warning, BoxButtons::YesNo, "終了しますか？",
            [](HWND) { PostMessageW(GetFocus(), WM_CHAR, L'n', 1); }, &letterN) == Answer::No);

  // Tab moves the focus to No first, so only the access key can give Yes.
  ModalVisit altY;
  CHECK(AskAndAnswer(
            ui, BoxKind::Warning, BoxButtons::YesNo, "終了しますか？",
            [](HWND) {
              PressFocused(VK_TAB);
              PostMessageW(GetFocus(), WM_SYSCHAR, L'y', 0x20000001);
            },
            &altY) == Answer::Yes);

  ModalVisit closeYesNo;
  CHECK(AskAndAnswer(
            ui, BoxKind::Warning, BoxButtons::YesNo, "インストール途中です",
            [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); }, &closeYesNo) == Answer::Closed);

  ModalVisit escapeOk;
  CHECK(AskAndAnswer(
            ui, BoxKind::Error, BoxButtons::Ok, "フォルダ名が正しくありません", [](HWND) { PressFocused(VK_ESCAPE); },
            &escapeOk) == Answer::Ok);
  CHECK_EQ(escapeOk.caption, WideString(L"エラー"));
  CHECK(escapeOk.buttons == std::vector<WideString>{L"OK"});
  CHECK_EQ(escapeOk.focusText, WideString(L"OK"));

  ModalVisit closeOk;
  CHECK(AskAndAnswer(
            ui, BoxKind::Information, BoxButtons::Ok, "情報です", [](HWND box) { PostMessageW(box, WM_CLOSE, 0, 0); },
            &closeOk) == Answer::Ok);
  CHECK_EQ(closeOk.caption, WideString(L"情報"));

  ModalVisit icon;
  AskAndAnswer(
      ui, BoxKind::Error, BoxButtons::Ok, "x",
      [](HWND box) {
        HWND iconControl = ChildOfClass(box, L"Static", 0);
        CHECK((GetWindowLongW(iconControl, GWL_STYLE) & SS_TYPEMASK) == SS_ICON);
        CHECK(SendMessageW(iconControl, STM_GETICON, 0, 0) != 0);
        PressFocused(VK_RETURN);
      },
      &icon);
}

void TestNotice(WinUserInterface& ui) {
  BeginGroup("notice: texts, modality and OK");
  ModalVisit visit;
  visit.className = L"SetupShowForm";
  visit.answer = [](HWND) { PressFocused(VK_RETURN); };
  WhileVisiting(visit, [&] {
    ui.ShowNotice("インストール", "インストールが終了しました");
    return 0;
  });
  CHECK(visit.window != nullptr);
  CHECK(!visit.timedOut);
  CHECK_EQ(visit.caption, WideString(L"インストール"));
  CHECK(visit.statics == std::vector<WideString>{L"インストールが終了しました"});
  CHECK_EQ(visit.focusText, WideString(L"OK"));
  CHECK(visit.ownerDisabled);
  CHECK(visit.centred);
  CHECK(visit.window != nullptr && !IsWindowVisible(visit.window));
  CHECK(IsWindowEnabled(ui.MainDialog()));
  CHECK_EQ(ClientSize(visit.window).cx, LONG{230});
  CHECK_EQ(ClientSize(visit.window).cy, LONG{80});
}

void TestMainDialog(WinUserInterface& ui) {
  BeginGroup("main dialog: layout, texts, focus, tab order and access key");
  HWND dialog = ui.MainDialog();
  CHECK_EQ(ClientSize(dialog).cx, LONG{543});
  CHECK_EQ(ClientSize(dialog).cy, LONG{190});
  CHECK((GetWindowLongW(dialog, GWL_STYLE) & WS_SYSMENU) == 0);
  CHECK(GetWindow(dialog, GW_OWNER) == nullptr);
  // The windows take the form of the calls in use: wide on Windows NT, ANSI on Windows 9x.
  CHECK_EQ(IsWindowUnicode(dialog) != FALSE, UsesWideWindowCalls());
  CHECK_EQ(IsWindowUnicode(ChildOfClass(dialog, L"Edit")) != FALSE, UsesWideWindowCalls());

  ui.SetMainCaption("星の海 セットアップ");
  CHECK_EQ(WindowTextWide(dialog), WideString(L"星の海 セットアップ"));
  ui.SetMainMessage("インストール先フォルダを指定してください。");
  CHECK_EQ(WindowTextWide(ChildOfClass(dialog, L"Static", 0)),
           WideString(L"インストール先フォルダを指定してください。"));

  HWND edit = ChildOfClass(dialog, L"Edit");
  const std::string folderAnsi = "C:\\" + FromWide(L"ゲーム", CP_ACP);
  ui.SetFolderText(folderAnsi);
  CHECK_EQ(ui.FolderText(), folderAnsi);
  if (GetACP() == 932) CHECK_EQ(WindowTextWide(edit), WideString(L"C:\\ゲーム"));
  const RECT editBounds = BoundsInParent(edit);
  CHECK(editBounds.left == 180 && editBounds.top == 88 && editBounds.right == 453 && editBounds.bottom == 111);

  Pump(200);
  CHECK(GetFocus() == edit);
  const std::vector<HWND> order = {ChildOfClass(dialog, L"Button", 0), ChildOfClass(dialog, L"Button", 1),
                                   ChildOfClass(dialog, L"Button", 2), edit};
  for (HWND expected : order) {
    PressFocused(VK_TAB);
    Pump(100);
    CHECK_EQ(WindowTextWide(GetFocus()), WindowTextWide(expected));
  }
  CHECK(GetFocus() == edit);
  CHECK_EQ(WindowTextWide(order[0]), WideString(L"参照..."));
  CHECK_EQ(WindowTextWide(order[1]), WideString(L"開始"));
  CHECK_EQ(WindowTextWide(order[2]), WideString(L"中止"));

  SetFocus(ChildOfClass(dialog, L"Button", 2));
  PostMessageW(GetFocus(), WM_SYSCHAR, L'f', 0x20000001);
  Pump(100);
  CHECK(GetFocus() == edit);

  // A close request without the behaviour attached must not take the dialog away.
  SendMessageW(dialog, WM_CLOSE, 0, 0);
  CHECK(IsWindow(dialog) && IsWindowVisible(dialog));
}

void TestBackground(WinUserInterface& ui) {
  BeginGroup("background: maximised navy window with the title");
  ui.ShowBackground("星の海 セットアップ", "星の海");
  Pump(300);
  HWND back = VisibleThreadWindow(L"SetupBackForm");
  CHECK(back != nullptr);
  if (back == nullptr) return;
  CHECK(IsZoomed(back));
  CHECK((GetWindowLongW(back, GWL_STYLE) & WS_SYSMENU) == 0);
  CHECK_EQ(WindowTextWide(back), WideString(L"星の海 セットアップ"));
  HWND title = ChildOfClass(back, L"Static");
  CHECK_EQ(WindowTextWide(title), WideString(L"星の海"));
  const RECT titleBounds = BoundsInParent(title);
  CHECK(titleBounds.left == 12 && titleBounds.top == 12 && titleBounds.right == 553 && titleBounds.bottom == 42);
  HDC context = GetDC(back);
  CHECK_EQ(static_cast<unsigned long>(GetPixel(context, 5, 300)), static_cast<unsigned long>(RGB(0, 0, 128)));
  ReleaseDC(back, context);
}

void TestProgressWindow(WinUserInterface& ui) {
  BeginGroup("progress window: label, bar, clip box and delete mode");
  auto& progress = static_cast<CopyFormWindow&>(ui.MainProgress());
  HWND window = progress.handle();
  CHECK_EQ(WindowTextWide(window), WideString(L"ファイルのコピー"));
  CHECK_EQ(ClientSize(window).cx, LONG{356});
  CHECK_EQ(ClientSize(window).cy, LONG{128});
  CHECK(GetWindow(window, GW_OWNER) == ui.MainDialog());
  progress.Show();
  Pump(100);
  CHECK(IsWindowVisible(window) && CentredOnScreen(window));

  HWND animation = ChildOfClass(window, ANIMATE_CLASSW);
  HWND bar = ChildOfClass(window, L"SetupProgressBar");
  HWND label = ChildOfClass(window, L"SetupLabel");
  CHECK(animation != nullptr && bar != nullptr && label != nullptr);
  // Opening a clip must not shrink the control to the clip's frame.
  const RECT clipBox = BoundsInParent(animation);
  CHECK(clipBox.left == 10 && clipBox.top == 10 && clipBox.right == 324 && clipBox.bottom == 65);
  CHECK_EQ(WindowTextWide(label), WideString(L"CopyLabel"));

  // The label grows with its text and is repainted before SetLabel returns, with no WM_PAINT
  // left for later. After a shorter text, what the longer one covered past it shows the
  // window's face, whether the label shrank or paints its own area in that colour.
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  progress.SetLabel("コピー中です GAMEDATA.BIN");
  CHECK_EQ(WindowTextWide(label), WideString(L"コピー中です GAMEDATA.BIN"));
  const RECT grown = BoundsInParent(label);
  CHECK(grown.left == 6 && grown.top == 102 && grown.right - grown.left > 57);
  CHECK(!HasPendingPaint(window) && !HasPendingPaint(label));
  if (UsesWideWindowCalls()) {
    // A short buffer gets what fits before the terminating zero, and nothing past it.
    wchar_t shortBuffer[5] = {L'x', L'x', L'x', L'x', L'x'};
    CHECK_EQ(static_cast<int>(SendMessageW(label, WM_GETTEXT, 4, reinterpret_cast<LPARAM>(shortBuffer))), 3);
    CHECK(WideString(shortBuffer) == L"コピー" && shortBuffer[4] == L'x');
  }
  // Past the design width: painted only if the label was widened before it got its text.
  const RECT tail = {grown.left + 60, grown.top, grown.right, grown.bottom};
  CHECK(PixelsOfColour(window, tail, face, false) > 0);
  progress.SetLabel("a");
  CHECK_EQ(WindowTextWide(label), WideString(L"a"));
  CHECK(!HasPendingPaint(window) && !HasPendingPaint(label));
  CHECK_EQ(PixelsOfColour(window, tail, face, false), 0);
  CHECK(PixelsOfColour(window, {grown.left, grown.top, grown.left + 12, grown.bottom}, face, false) > 0);
  progress.SetLabel("コピー中です LONGER-NAME-THAN-BEFORE.BIN");
  const RECT longer = BoundsInParent(label);
  CHECK(longer.right > grown.right);
  CHECK(PixelsOfColour(window, {grown.right, grown.top, longer.right, grown.bottom}, face, false) > 0);

  progress.SetRange(65535);
  progress.SetPosition(1000);
  CHECK_EQ(progress.Position(), 1000);
  CHECK_EQ(static_cast<int>(SendMessageW(bar, PBM_GETRANGE, FALSE, 0)), 65535);
  progress.SetRange(70000);
  progress.SetPosition(69000);
  CHECK_EQ(progress.Position(), 69000);
  PBRANGE range = {};
  SendMessageW(bar, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range));
  CHECK(range.iLow == 0 && range.iHigh == 70000);
  progress.SetPosition(70001);
  CHECK_EQ(progress.Position(), 70000);
  progress.SetRange(3);
  CHECK_EQ(progress.Position(), 3);
  progress.SetPosition(0);
  progress.SetStep(1);
  progress.StepIt();
  progress.StepIt();
  CHECK_EQ(progress.Position(), 2);
  progress.StepIt();
  progress.StepIt();
  CHECK_EQ(progress.Position(), 0);  // past the maximum it starts over

  // The bar shows each position before SetPosition returns, as its share of the width in
  // blocks; the blocks painted one change at a time are those a whole repaint gives.
  const COLORREF fill = GetSysColor(COLOR_HIGHLIGHT);
  const RECT barRow = {0, ClientSize(bar).cy / 2, ClientSize(bar).cx, ClientSize(bar).cy / 2 + 1};
  progress.SetRange(1000);
  CHECK_EQ(PixelsOfColour(bar, barRow, fill), 0);
  progress.SetPosition(1000);
  const int full = PixelsOfColour(bar, barRow, fill);
  CHECK(full > ClientSize(bar).cx / 2);
  progress.SetPosition(0);
  for (int position = 0; position <= 500; position += 7) progress.SetPosition(position);
  CHECK(!HasPendingPaint(bar));
  const int half = PixelsOfColour(bar, barRow, fill);
  CHECK(half > full / 2 - 12 && half < full / 2 + 12);
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CHECK_EQ(PixelsOfColour(bar, barRow, fill), half);
  progress.SetPosition(3);
  const int firstBlock = PixelsOfColour(bar, barRow, fill);
  RedrawWindow(bar, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  CHECK(firstBlock > 0 && firstBlock < 12);
  CHECK_EQ(PixelsOfColour(bar, barRow, fill), firstBlock);

  progress.SetDeleteMode();
  CHECK_EQ(WindowTextWide(window), WideString(L"アンインストール"));
  CHECK_EQ(WindowTextWide(label), WideString(L"ファイルの削除中"));
  const RECT deleteClipBox = BoundsInParent(animation);
  CHECK(deleteClipBox.right - deleteClipBox.left == 314 && deleteClipBox.bottom - deleteClipBox.top == 55);
  progress.StopAnimation();
  progress.Hide();
  CHECK(!IsWindowVisible(window));

  std::unique_ptr<ProgressWindow> extra = ui.CreateProgressWindow();
  HWND extraWindow = static_cast<CopyFormWindow&>(*extra).handle();
  CHECK(extraWindow != nullptr && extraWindow != window);
  CHECK(GetWindow(extraWindow, GW_OWNER) == ui.MainDialog());
  CHECK(!IsWindowVisible(extraWindow));
  extra.reset();
  CHECK(!IsWindow(extraWindow));
}

// A window that counts what reaches it.
struct ProbeCounts {
  int posted = 0;
  int sent = 0;
};
ProbeCounts g_probe;
constexpr UINT kProbePosted = WM_APP + 1;
constexpr UINT kProbeSent = WM_APP + 2;

LRESULT CALLBACK ProbeProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kProbePosted:
      ++g_probe.posted;
      return 0;
    case kProbeSent:
      ++g_probe.sent;
      return 0;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      BeginPaint(window, &paint);
      EndPaint(window, &paint);
      return 0;
    }
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

struct ProbeSender {
  HWND probe;
  HANDLE go;  // one message per signal, so that no pump can take two
  int messages;
};

DWORD WINAPI SendToProbe(LPVOID context) {
  const auto* sender = static_cast<const ProbeSender*>(context);
  for (int i = 0; i < sender->messages; ++i) {
    if (WaitForSingleObject(sender->go, 5000) != WAIT_OBJECT_0) break;
    SendMessageW(sender->probe, kProbeSent, 0, 0);
  }
  return 0;
}

bool SentMessageWaits() {
  const DWORD start = GetTickCount();
  while (HIWORD(GetQueueStatus(QS_SENDMESSAGE)) == 0) {
    if (GetTickCount() - start > 5000) return false;
    Sleep(0);
  }
  return true;
}

// The copy step pumps twice per file, often well within a millisecond of the last pump: every
// message waiting at a pump must be handled by it, however soon it follows the one before.
void TestPumpBetweenFiles(WinUserInterface& ui) {
  BeginGroup("pending messages at every pump");
  WNDCLASSW probeClass = {};
  probeClass.lpfnWndProc = &ProbeProcedure;
  probeClass.hInstance = GetModuleHandleW(nullptr);
  probeClass.lpszClassName = L"SetupPumpProbe";
  RegisterClassW(&probeClass);
  HWND probe = CreateWindowExW(0, L"SetupPumpProbe", L"", WS_POPUP | WS_VISIBLE, 0, 0, 40, 40, nullptr, nullptr,
                               probeClass.hInstance, nullptr);
  CHECK(probe != nullptr);
  ui.PumpMessages();

  constexpr int kRounds = 200;
  int postedInTime = 0;
  int paintedInTime = 0;
  for (int round = 1; round <= kRounds; ++round) {
    PostMessageW(probe, kProbePosted, 0, 0);
    InvalidateRect(probe, nullptr, FALSE);
    ui.PumpMessages();
    postedInTime += g_probe.posted == round ? 1 : 0;
    paintedInTime += !HasPendingPaint(probe) ? 1 : 0;
  }
  CHECK_EQ(postedInTime, kRounds);
  CHECK_EQ(paintedInTime, kRounds);

  // A message sent from another thread waits in the queue until a pump takes it.
  ProbeSender sender{probe, CreateEventW(nullptr, FALSE, FALSE, nullptr), 20};
  HANDLE thread = CreateThread(nullptr, 0, &SendToProbe, &sender, 0, nullptr);
  int sentInTime = 0;
  for (int expected = 1; expected <= sender.messages; ++expected) {
    SetEvent(sender.go);
    if (!SentMessageWaits()) break;
    ui.PumpMessages();
    sentInTime += g_probe.sent == expected ? 1 : 0;
  }
  CHECK_EQ(sentInTime, sender.messages);
  CHECK(WaitForSingleObject(thread, 5000) == WAIT_OBJECT_0);
  CloseHandle(thread);
  CloseHandle(sender.go);
  DestroyWindow(probe);
}

void TestEndOfProgram(WinUserInterface& ui) {
  BeginGroup("message pump and end of program");
  bool delivered = false;
  const UINT_PTR timer = SetTimer(nullptr, 0, 1, &IgnoreTimer);
  Sleep(20);
  PostQuitMessage(7);
  ui.PumpMessages();
  MSG message;
  // The quit message survives the pump for the outer loop.
  delivered = PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) && message.wParam == 7;
  CHECK(delivered);
  KillTimer(nullptr, timer);

  ui.EndProgram();
  CHECK(ui.endRequested());
  CHECK(!IsWindowVisible(ui.MainDialog()));
  CHECK(VisibleThreadWindow(L"SetupBackForm") == nullptr);
  CHECK(IsWindow(ui.MainDialog()));
  CHECK(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE);
}

// Runs call while the timer answers the one message box it is expected to raise.
ModalVisit AnswerBoxDuring(std::function<void()> call, std::function<void(HWND)> answer) {
  ModalVisit visit;
  visit.className = L"SetupMessageBox";
  visit.answer = std::move(answer);
  WhileVisiting(visit, [&] {
    call();
    return 0;
  });
  CHECK(!visit.timedOut);
  return visit;
}

void TestRoutingToBehaviour(WinUserInterface& ui, MessageForm& form) {
  BeginGroup("routing: buttons, keys, activation and close reach the behaviour");
  HWND dialog = ui.MainDialog();
  HWND edit = ChildOfClass(dialog, L"Edit");

  ui.ShowBackground("x", "x");
  Pump(300);
  HWND back = VisibleThreadWindow(L"SetupBackForm");
  CHECK(GetForegroundWindow() == dialog);
  SetForegroundWindow(back);
  Pump(300);
  CHECK(GetForegroundWindow() == dialog);
  form.flags().Installing = true;
  ui.MainProgress().Show();
  SetForegroundWindow(back);
  Pump(300);
  CHECK(GetForegroundWindow() == static_cast<CopyFormWindow&>(ui.MainProgress()).handle());
  form.flags().Installing = false;
  ui.MainProgress().Hide();
  SetForegroundWindow(dialog);
  Pump(200);

  // Enter in the folder box presses Start, whose first check refuses a one-letter folder.
  ui.SetFolderText("C");
  SetFocus(edit);
  ModalVisit start = AnswerBoxDuring(
      [&] {
        PostKey(edit, VK_RETURN);
        Pump(1000);
      },
      [](HWND) { PressFocused(VK_RETURN); });
  CHECK_EQ(start.caption, WideString(L"エラー"));
  CHECK(start.statics.size() == 2 && start.statics[1] == L"インストール先のフォルダ名を入力してください");
  CHECK_EQ(ui.FolderText(), std::string());

  ModalVisit cancel = AnswerBoxDuring(
      [&] {
        PostMessageW(ChildOfClass(dialog, L"Button", 2), BM_CLICK, 0, 0);
        Pump(1000);
      },
      [](HWND) { PressFocused(VK_ESCAPE); });
  CHECK_EQ(cancel.caption, WideString(L"警告"));
  CHECK(cancel.statics.size() == 2 && cancel.statics[1] == L"インストールしていません\r\n終了しますか？");
  CHECK(!ui.endRequested());

  // The progress window's Abort asks only while an installation runs.
  HWND progress = static_cast<CopyFormWindow&>(ui.MainProgress()).handle();
  form.flags().Installing = true;
  ModalVisit copyCancel = AnswerBoxDuring(
      [&] {
        PostMessageW(ChildOfClass(progress, L"Button"), BM_CLICK, 0, 0);
        Pump(1000);
      },
      [](HWND) { PressFocused(VK_ESCAPE); });
  CHECK(copyCancel.window != nullptr);
  CHECK(!form.flags().AbortRequested);
  form.flags().Installing = false;

  // A close from outside goes through the behaviour, which ends the program when nothing is installing.
  SendMessageW(dialog, WM_CLOSE, 0, 0);
  CHECK(form.closing());
  CHECK(ui.endRequested());
  CHECK(IsWindow(dialog) && !IsWindowVisible(dialog));
  MSG message;
  CHECK(PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != FALSE);
}

}  // namespace

void RunWindowTests() {
  WinUserInterface ui;
  CHECK(ui.CreateMainDialog());
  CHECK(ui.CreateRemainingForms());
  ui.ShowMainDialogCentred();
  g_watchedOwner = ui.MainDialog();
  TestMainDialog(ui);
  TestMessageBoxAnswers(ui);
  TestNotice(ui);
  TestBackground(ui);
  TestProgressWindow(ui);
  TestPumpBetweenFiles(ui);
  TestEndOfProgram(ui);
  g_watchedOwner = nullptr;
}

void RunRoutingTests() {
  WinFileSystem files;
  WinRegistry registry;
  WinShell shell;
  WinSystem system;
  WinUserInterface ui;
  Platform platform{files, registry, shell, system, ui};
  MessageForm form(platform);
  CHECK(MakeMainDialog(form, ui, shell));
  CHECK(ui.CreateRemainingForms());
  ui.ShowMainDialogCentred();
  TestRoutingToBehaviour(ui, form);
}

}  // namespace setup::win32::test
