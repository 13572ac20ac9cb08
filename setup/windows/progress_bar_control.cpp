// The progress bar of blocks: its state, its messages and its painting.
#include "setup/windows/progress_bar_control.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>

#include "setup/platform/win32/window_calls.h"
#include "setup/windows/control_procedure.h"

namespace setup::win32 {
namespace {

constexpr int kEdge = 1;    // the sunken edge
constexpr int kMargin = 1;  // between the edge and the blocks
constexpr int kGap = 2;     // between two blocks

struct BarState {
  int minimum = 0;  // the common control's defaults: range 0..100, step 10
  int maximum = 100;
  int position = 0;
  int step = 10;
  int blocksPainted = -1;  // none painted yet
};

// The bar's drawing in a client area: the strip the blocks lie in, inside the sunken edge and a
// one-pixel margin, blocks two thirds of the strip's height wide with a gap after each, and
// the number of them that fit, the last one possibly cut.
struct BarLayout {
  RECT blocks;
  int blockWidth;
  int pitch;
  int slots;
};

BarLayout LayOutBar(int clientWidth, int clientHeight) {
  constexpr int kInset = kEdge + kMargin;
  BarLayout layout = {};
  layout.blocks = {kInset, kInset, std::max(kInset, clientWidth - kInset), std::max(kInset, clientHeight - kInset)};
  layout.blockWidth = std::max(1, static_cast<int>(layout.blocks.bottom - layout.blocks.top) * 2 / 3);
  layout.pitch = layout.blockWidth + kGap;
  const int width = layout.blocks.right - layout.blocks.left;
  layout.slots = (width + layout.pitch - 1) / layout.pitch;
  return layout;
}

// The blocks shown for a position: every block that starts left of the filled width, which is
// the position's share of the strip's width.
int BlocksShown(const BarLayout& layout, int minimum, int maximum, int position) {
  if (maximum <= minimum || position <= minimum) return 0;
  const int64_t width = layout.blocks.right - layout.blocks.left;
  const int64_t filled = (int64_t{std::min(position, maximum)} - minimum) * width / (int64_t{maximum} - minimum);
  if (filled <= 0) return 0;
  return static_cast<int>(std::min<int64_t>((filled + layout.pitch - 1) / layout.pitch, layout.slots));
}

BarLayout LayoutOf(HWND bar) {
  RECT client;
  GetClientRect(bar, &client);
  return LayOutBar(client.right, client.bottom);
}

// Paints the block slots from first up to (not including) last, each pixel once, so that a
// block being added never flickers: filled slots in the highlight colour, the others and the
// gaps in the face colour.
void PaintSlots(HDC dc, const BarLayout& layout, int blocksShown, int first, int last) {
  HBRUSH fill = GetSysColorBrush(COLOR_HIGHLIGHT);
  HBRUSH face = GetSysColorBrush(COLOR_BTNFACE);
  for (int slot = first; slot < last; ++slot) {
    const int left = static_cast<int>(layout.blocks.left + slot * layout.pitch);
    const int blockRight = std::min<int>(left + layout.blockWidth, layout.blocks.right);
    const int slotRight = std::min<int>(left + layout.pitch, layout.blocks.right);
    const RECT block = {left, layout.blocks.top, blockRight, layout.blocks.bottom};
    FillRect(dc, &block, slot < blocksShown ? fill : face);
    const RECT gap = {blockRight, layout.blocks.top, slotRight, layout.blocks.bottom};
    if (gap.left < gap.right) FillRect(dc, &gap, face);
  }
}

// Paints the whole bar; returns the number of blocks shown.
int PaintWhole(HWND bar, HDC dc, const BarState& state) {
  RECT client;
  GetClientRect(bar, &client);
  const BarLayout layout = LayOutBar(client.right, client.bottom);
  DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
  FrameRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  const int shown = BlocksShown(layout, state.minimum, state.maximum, state.position);
  PaintSlots(dc, layout, shown, 0, layout.slots);
  return shown;
}

// After a change of range or position: the blocks that appear or go are painted at once.
void ShowChange(HWND bar, BarState& state) {
  if (state.blocksPainted < 0 || !IsWindowVisible(bar)) return;  // the next WM_PAINT paints it all
  const BarLayout layout = LayoutOf(bar);
  const int shown = BlocksShown(layout, state.minimum, state.maximum, state.position);
  if (shown == state.blocksPainted) return;
  HDC dc = GetDC(bar);
  PaintSlots(dc, layout, shown, std::min(shown, state.blocksPainted), std::max(shown, state.blocksPainted));
  ReleaseDC(bar, dc);
  state.blocksPainted = shown;
}

int Clamped(const BarState& state, int64_t position) {
  return static_cast<int>(std::clamp<int64_t>(position, state.minimum, std::max(state.minimum, state.maximum)));
}

LRESULT SetRange(HWND bar, BarState& state, int minimum, int maximum) {
  const LRESULT previous = MAKELONG(state.minimum, state.maximum);
  state.minimum = minimum;
  state.maximum = maximum;
  state.position = Clamped(state, state.position);
  ShowChange(bar, state);
  return previous;
}

LRESULT MoveTo(HWND bar, BarState& state, int64_t position) {
  const int previous = state.position;
  state.position = Clamped(state, position);
  ShowChange(bar, state);
  return previous;
}

LRESULT HandleBarMessage(HWND bar, BarState& state, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case PBM_SETRANGE:
      return SetRange(bar, state, LOWORD(lParam), HIWORD(lParam));
    case PBM_SETRANGE32:
      return SetRange(bar, state, static_cast<int>(wParam), static_cast<int>(lParam));
    case PBM_GETRANGE:
      if (lParam != 0) *reinterpret_cast<PBRANGE*>(lParam) = {state.minimum, state.maximum};
      return wParam != 0 ? state.minimum : state.maximum;
    case PBM_SETPOS:
      return MoveTo(bar, state, static_cast<int>(wParam));
    case PBM_DELTAPOS:
      return MoveTo(bar, state, int64_t{state.position} + static_cast<int>(wParam));
    case PBM_GETPOS:
      return state.position;
    case PBM_SETSTEP: {
      const int previous = state.step;
      state.step = static_cast<int>(wParam);
      return previous;
    }
    case PBM_STEPIT: {
      // Past the maximum the bar starts over from the beginning, as the common control does.
      const int64_t next = int64_t{state.position} + state.step;
      return MoveTo(bar, state, next > state.maximum ? state.minimum : next);
    }
    case WM_ERASEBKGND:
      return 1;  // the painting covers every pixel
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(bar, &paint);
      state.blocksPainted = PaintWhole(bar, dc, state);
      EndPaint(bar, &paint);
      return 0;
    }
    case WM_PRINTCLIENT:
      PaintWhole(bar, reinterpret_cast<HDC>(wParam), state);
      return 0;
    case WM_SIZE:
      state.blocksPainted = -1;  // the blocks move: only a whole repaint is right now
      InvalidateRect(bar, nullptr, FALSE);
      return 0;
    default:
      return DefaultWindowProcedure(bar, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterProgressBarClass() { return RegisterControlClass<BarState, HandleBarMessage>(kProgressBarClass); }

}  // namespace setup::win32
