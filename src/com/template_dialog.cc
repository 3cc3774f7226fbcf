#include "com/template_dialog.h"

#include <string>
#include <vector>

#include "com/module.h"
#include "com/windows_api.h"
#include "runtime/text.h"

namespace vtx::com {

namespace {

constexpr WORD kListId = 100;
constexpr WORD kButtonClass = 0x0080;
constexpr WORD kListBoxClass = 0x0083;
constexpr WORD kFontPoints = 8;

// The form's geometry in twips (1440 to the inch): the client area, then
// each control's left, top, width and height.
constexpr int kTwipsPerInch = 1440;
constexpr SIZE kClientTwips = {4095, 4485};
struct ControlTwips {
  WORD id;
  int left, top, width, height;
};
constexpr ControlTwips kControlTwips[] = {{kListId, 360, 240, 3375, 3375},
                                          {IDOK, 360, 3960, 1095, 375},
                                          {IDCANCEL, 2640, 3960, 1095, 375}};

std::wstring Wide(std::string_view utf8) {
  const std::u16string wide = text::ToUtf16(utf8);
  return std::wstring(wide.begin(), wide.end());
}

// An in-memory dialog template (DLGTEMPLATE and its items), built in WORDs
// with the alignment the dialog manager requires.
class TemplateBuilder {
 public:
  void Dialog(const std::wstring& caption, const std::wstring& font, WORD items, short cx,
              short cy) {
    Long(DS_MODALFRAME | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    Long(0);
    Word(items);
    Word(0);
    Word(0);
    Word(static_cast<WORD>(cx));
    Word(static_cast<WORD>(cy));
    Word(0);  // no menu
    Word(0);  // standard dialog class
    String(caption);
    Word(kFontPoints);
    String(font);
  }
  void Item(DWORD style, short x, short y, short cx, short cy, WORD id, WORD window_class,
            const std::wstring& title) {
    while (words_.size() % 2) Word(0);  // DWORD alignment
    Long(style | WS_CHILD | WS_VISIBLE);
    Long(0);
    for (short value : {x, y, cx, cy}) Word(static_cast<WORD>(value));
    Word(id);
    Word(0xFFFF);
    Word(window_class);
    String(title);
    Word(0);  // no creation data
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void Word(WORD value) { words_.push_back(value); }
  void Long(DWORD value) {
    Word(LOWORD(value));
    Word(HIWORD(value));
  }
  void String(const std::wstring& value) {
    for (wchar_t c : value) Word(static_cast<WORD>(c));
    Word(0);
  }
  std::vector<WORD> words_;
};

// Places the controls and sizes the client area in pixels of the screen's
// resolution, as the twips give them, then centres the dialog on the work
// area. The template's dialog units depend on the font and cannot hold twips
// exactly, so its own sizes are only a first draft.
void LayOut(HWND window) {
  HDC screen = GetDC(nullptr);
  const int dpi_x = GetDeviceCaps(screen, LOGPIXELSX);
  const int dpi_y = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  for (const ControlTwips& control : kControlTwips) {
    SetWindowPos(
        GetDlgItem(window, control.id), nullptr, MulDiv(control.left, dpi_x, kTwipsPerInch),
        MulDiv(control.top, dpi_y, kTwipsPerInch), MulDiv(control.width, dpi_x, kTwipsPerInch),
        MulDiv(control.height, dpi_y, kTwipsPerInch), SWP_NOZORDER | SWP_NOACTIVATE);
  }
  RECT frame = {0, 0, MulDiv(kClientTwips.cx, dpi_x, kTwipsPerInch),
                MulDiv(kClientTwips.cy, dpi_y, kTwipsPerInch)};
  AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)));
  const int width = frame.right - frame.left;
  const int height = frame.bottom - frame.top;
  RECT area;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  SetWindowPos(window, nullptr, area.left + (area.right - area.left - width) / 2,
               area.top + (area.bottom - area.top - height) / 2, width, height,
               SWP_NOZORDER | SWP_NOACTIVATE);
}

struct DialogState {
  const DialogSnapshot* dialog;
  DialogAction action;
};

void Finish(HWND window, DialogState& state, bool ok) {
  if (ok) {
    const LRESULT line = SendDlgItemMessageW(window, kListId, LB_GETCURSEL, 0, 0);
    state.action.kind = line == LB_ERR ? DialogAction::Kind::kOk : DialogAction::Kind::kSelectAndOk;
    state.action.line = line == LB_ERR ? -1 : static_cast<int32_t>(line);
  } else {
    state.action = DialogAction{};
  }
  EndDialog(window, 0);
}

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrW(window, DWLP_USER, lparam);
    auto* state = reinterpret_cast<DialogState*>(lparam);
    LayOut(window);
    for (const std::string& line : state->dialog->lines)
      SendDlgItemMessageW(window, kListId, LB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(Wide(line).c_str()));
    if (state->dialog->selected >= 0)
      SendDlgItemMessageW(window, kListId, LB_SETCURSEL,
                          static_cast<WPARAM>(state->dialog->selected), 0);
    return TRUE;
  }
  auto* state = reinterpret_cast<DialogState*>(GetWindowLongPtrW(window, DWLP_USER));
  if (message != WM_COMMAND || !state) return FALSE;
  const WORD id = LOWORD(wparam);
  if (id == IDOK) {
    Finish(window, *state, true);
    return TRUE;
  }
  if (id == IDCANCEL) {
    Finish(window, *state, false);
    return TRUE;
  }
  return FALSE;
}

}  // namespace

DialogAction RunTemplateDialog(const DialogSnapshot& dialog) {
  const std::wstring ok = Wide(dialog.buttons.size() > 0 ? dialog.buttons[0] : "OK");
  const std::wstring cancel = Wide(dialog.buttons.size() > 1 ? dialog.buttons[1] : "Cancel");
  TemplateBuilder builder;
  // Tab order: the list, OK, Cancel. Sizes are set in pixels once created.
  builder.Dialog(Wide(dialog.caption), Wide(dialog.font), 3, 0, 0);
  builder.Item(LBS_NOINTEGRALHEIGHT | WS_BORDER | WS_VSCROLL | WS_TABSTOP, 0, 0, 0, 0, kListId,
               kListBoxClass, L"");
  builder.Item(BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0, IDOK, kButtonClass, ok);
  builder.Item(BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0, IDCANCEL, kButtonClass, cancel);
  DialogState state{&dialog, DialogAction{}};
  if (DialogBoxIndirectParamW(Module(), builder.Get(), GetActiveWindow(), DialogProcedure,
                              reinterpret_cast<LPARAM>(&state)) == -1)
    return DialogAction{};
  return state.action;
}

}  // namespace vtx::com
