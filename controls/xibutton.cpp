// TXiButton: properties, colour schemes, paint data and the click.
#include "controls/xibutton.h"

namespace zarn {

namespace {

// A plain scheme leaves this colour as it is.
constexpr COLORREF K = CLR_INVALID;

// Indexed by TColorScheme, then by property index.
const COLORREF kSchemes[12][XiButtonColorCount] = {
    // csNeoDesert
    {0xC6ECFF, 0x37BEFF, 0x009CE8, 0xB9E7FF, 0x005680, 0x000000, 0xB3E7FF, 0x00A3F0, 0x008ED2,
     0x95DAFF, 0x005680, 0x000000, 0x2BBAFF, 0x77D2FF, 0x8AD9FF, 0x0077B7, 0x0070A6, 0x000000,
     0xEEEEEE, 0xFFFFFF, 0xD2D2D2, 0xFFFFFF, 0x808080, 0x808080, 0x4080FF},
    // csNeoSky
    {0xFFEEDD, 0xFFB66C, 0xFFA851, 0xFFECD9, 0xB35900, 0x000000, 0xFFEBD7, 0xFFA346, 0xFF9E3E,
     0xFFE4CA, 0xB35900, 0x000000, 0xFFB366, 0xFFCE9D, 0xFFD3A8, 0xFF9E3E, 0xB35900, 0x000000,
     0xEEEEEE, 0xFFFFFF, 0xD2D2D2, 0xFFFFFF, 0x808080, 0x808080, 0xFFA953},
    // csNeoGrass
    {0xDDF9E8, 0x5EDF8E, 0x24B95C, 0xCBF5DB, 0x156F37, 0x000000, 0xBFF2D2, 0x3DD877, 0x23B459,
     0xB5F0CB, 0x17793D, 0x000000, 0x4EDC83, 0x80E6A6, 0x89E7AC, 0x177D3E, 0x167439, 0x000000,
     0xEEEEEE, 0xFFFFFF, 0xD2D2D2, 0xFFFFFF, 0x808080, 0x808080, 0x24B95C},
    // csNeoSilver
    {0xF3F3F3, 0xBCBCBC, 0xA7A7A7, 0xF7F7F7, 0x626262, 0x000000, 0xF0F0F0, 0xA6A6A6, 0xA2A2A2,
     0xEEEEEE, 0x757575, 0x000000, 0xCACACA, 0xDADADA, 0xE9E9E9, 0x7C7C7C, 0x4E4E4E, 0x000000,
     0xEEEEEE, 0xFFFFFF, 0xD2D2D2, 0xFFFFFF, 0x808080, 0x808080, 0xADADAD},
    // csNeoRose
    {0xE8E8FF, 0x9595FF, 0x8282FF, 0xDDDDFF, 0x00009D, 0x000000, 0xDFDFFF, 0x7777FF, 0x6A6AFF,
     0xD7D7FF, 0x00009D, 0x000000, 0xA6A6FF, 0xB9B9FF, 0xCECEFF, 0x5E5EFF, 0x00009D, 0x000000,
     0xEEEEEE, 0xFFFFFF, 0xD2D2D2, 0xFFFFFF, 0x808080, 0x808080, 0x5E5EFF},
    // csNeoSun
    {0xF0FFFF, 0x20D8F9, 0x00BBBB, 0xF2FFFF, 0x006464, 0x000000, 0xD5FCFF, 0x05BCDC, 0x00A6A6,
     0xCCFFFF, 0x006464, 0x000000, 0x05D1F5, 0x66F0FB, 0x66F3FF, 0x008484, 0x006464, 0x000000,
     0xEEEEEE, 0xFFFFFF, 0xD2D2D2, 0xFFFFFF, 0x808080, 0x808080, 0x00BBBB},
    // csDesert
    {0x95DDFF, K,        0x009CE8, 0xB9E7FF, 0x005680, 0x000000, 0x6FD0FF, K,        0x008ED2,
     0x95DAFF, 0x005680, 0x000000, 0x6FD0FF, K,        0x8AD9FF, 0x0077B7, 0x0070A6, 0x000000,
     0xE2E2E2, K,        0xD8D8D8, 0xEAEAEA, 0xC4C4C4, 0x808080, 0x4080FF},
    // csGrass
    {0x98EBB7, K,        0x24B95C, 0xCBF5DB, 0x156F37, 0x000000, 0x68E196, K,        0x23B459,
     0xB5F0CB, 0x17793D, 0x000000, 0x4EDC83, K,        0x89E7AC, 0x177D3E, 0x167439, 0x000000,
     0xE2E2E2, K,        0xD8D8D8, 0xEAEAEA, 0xC4C4C4, 0x808080, 0x00A421},
    // csSky
    {0xFFE0C1, K,        0xFFA953, 0xFFECD9, 0xB35900, 0x000000, 0xFFCD9B, K,        0xFFB164,
     0xFFE4CA, 0xB35900, 0x000000, 0xFFC082, K,        0xFFD3A8, 0xFF9122, 0xB35900, 0x000000,
     0xE2E2E2, K,        0xD8D8D8, 0xEAEAEA, 0xC4C4C4, 0x808080, 0xDC9B14},
    // csSun
    {0xA8FFFF, K,        0x00BBBB, 0xF2FFFF, 0x006464, 0x000000, 0x66F3FF, K,        0x00A6A6,
     0xCCFFFF, 0x006464, 0x000000, 0x22EEFF, K,        0x66F3FF, 0x008484, 0x006464, 0x000000,
     0xE2E2E2, K,        0xD8D8D8, 0xEAEAEA, 0xC4C4C4, 0x808080, 0x008CF4},
    // csRose
    {0xC6C6FF, K,        0x8282FF, 0xDDDDFF, 0x00009D, 0x000000, 0xB0B0FF, K,        0x6A6AFF,
     0xD7D7FF, 0x00009D, 0x000000, 0x9F9FFF, K,        0x8888FF, 0x5E5EFF, 0x00009D, 0x000000,
     0xE2E2E2, K,        0xD8D8D8, 0xEAEAEA, 0xC4C4C4, 0x808080, 0x5E5EFF},
    // csSilver
    {0xE0E0E0, K,        0xAEAEAE, 0xF7F7F7, 0x626262, 0x000000, 0xCFCFCF, K,        0x797979,
     0xEEEEEE, 0x757575, 0x000000, 0xD3D3D3, K,        0xE9E9E9, 0x7C7C7C, 0x4E4E4E, 0x000000,
     0xE2E2E2, K,        0xD8D8D8, 0xEAEAEA, 0xC4C4C4, 0x808080, 0x8A8A8A},
};

int Index(XiButtonColor color) { return static_cast<int>(color); }

bool IsNeo(TXiButton::TColorScheme scheme) { return scheme <= TXiButton::csNeoSun; }

}  // namespace

TXiButton::TXiButton() {
  ctl3D_ = true;
  transparentGlyph_ = true;
  gradient_ = false;
  tabStop_ = true;
  spacing_ = 4;
  cancel_ = false;
  default_ = false;
  hotTrack_ = true;
  SetColorScheme(csNeoDesert);
  pressed_ = false;
  // Straight into the fields: the new button still counts as csNeoDesert.
  colors_[Index(XiButtonColor::OverColorGrad)] = RGB(255, 255, 255);
  colors_[Index(XiButtonColor::DownColorGrad)] = RGB(255, 255, 255);
  colors_[Index(XiButtonColor::DisabledColorGrad)] = RGB(255, 255, 255);
}

bool TXiButton::SchemeColor(TColorScheme scheme, XiButtonColor index, COLORREF& value) {
  const int i = Index(index);
  if (scheme < csNeoDesert || scheme >= csCustom || i < 0 || i >= XiButtonColorCount) return false;
  if (kSchemes[scheme][i] == K) return false;
  value = kSchemes[scheme][i];
  return true;
}

void TXiButton::SetColor(XiButtonColor index, COLORREF value) {
  const int i = Index(index);
  if (i < 0 || i >= XiButtonColorCount) return;
  colors_[i] = value;
  scheme_ = csCustom;
  Invalidate();
}

COLORREF TXiButton::Color(XiButtonColor index) const {
  const int i = Index(index);
  return i >= 0 && i < XiButtonColorCount ? colors_[i] : CLR_INVALID;
}

void TXiButton::SetColorScheme(TColorScheme value) {
  scheme_ = value;
  if (value >= csNeoDesert && value < csCustom) {
    for (int i = 0; i < XiButtonColorCount; ++i) {
      COLORREF color;
      if (SchemeColor(value, static_cast<XiButtonColor>(i), color)) SetColor(static_cast<XiButtonColor>(i), color);
    }
    SetGradient(IsNeo(value));
  }
  scheme_ = value;
  Invalidate();
}

void TXiButton::SetCtl3D(bool value) {
  ctl3D_ = value;
  Invalidate();
}

void TXiButton::SetLayout(TButtonLayout value) {
  layout_ = value;
  Invalidate();
}

void TXiButton::SetGlyph(HBITMAP bitmap) {
  glyph_.reset(bitmap ? static_cast<HBITMAP>(CopyImage(bitmap, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)) : nullptr);
  Invalidate();
}

void TXiButton::SetSpacing(int value) {
  spacing_ = value;
  Invalidate();
}

void TXiButton::SetTransparentGlyph(bool value) {
  transparentGlyph_ = value;
  Invalidate();
}

void TXiButton::SetGradient(bool value) {
  gradient_ = value;
  Invalidate();
}

void TXiButton::SetCaption(const std::string& value) {
  caption_ = value;
  if (hwnd_) SetWindowTextA(hwnd_, value.c_str());
}

std::string TXiButton::WindowCaption(HWND hwnd) {
  const int length = GetWindowTextLengthA(hwnd);
  std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = GetWindowTextA(hwnd, text.data(), static_cast<int>(text.size()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  return text;
}

std::string TXiButton::Caption() const { return hwnd_ ? WindowCaption(hwnd_) : caption_; }

void TXiButton::SetEnabled(bool value) {
  enabled_ = value;
  if (hwnd_) EnableWindow(hwnd_, value);
}

bool TXiButton::Enabled() const { return hwnd_ ? IsWindowEnabled(hwnd_) != FALSE : enabled_; }

void TXiButton::SetTabStop(bool value) {
  tabStop_ = value;
  if (!hwnd_) return;
  LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
  style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
  SetWindowLongPtrA(hwnd_, GWL_STYLE, style);
}

bool TXiButton::TabStop() const { return hwnd_ ? (GetWindowLongPtrA(hwnd_, GWL_STYLE) & WS_TABSTOP) != 0 : tabStop_; }

bool TXiButton::CanFocus() const {
  if (!hwnd_ || !IsWindowVisible(hwnd_)) return false;
  for (HWND w = hwnd_; w; w = GetParent(w)) {
    if (!IsWindowEnabled(w)) return false;
    if (!(GetWindowLongPtrA(w, GWL_STYLE) & WS_CHILD)) break;
  }
  return true;
}

void TXiButton::Click() {
  if (!hwnd_) return;
  HWND hwnd = hwnd_;
  HWND parent = GetParent(hwnd);
  if (parent) lastModalResult_ = modalResult_;
  SetState(vsNormal);
  if (parent)
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), BN_CLICKED), reinterpret_cast<LPARAM>(hwnd));
}

bool TXiButton::TakesDialogKey(UINT vk, bool modifiersHeld) const {
  if (!CanFocus()) return false;
  if (!modifiersHeld && ((vk == VK_RETURN && focused_) || (vk == VK_ESCAPE && cancel_))) return true;
  return default_ && vk == VK_RETURN;
}

void TXiButton::OnDialogKey(UINT) { Click(); }

void TXiButton::SetDpi(UINT value) {
  if (value == 0 || value == dpi_) return;
  dpi_ = value;
  Invalidate();
}

XiButtonPaintData TXiButton::PaintData() const {
  XiButtonPaintData d;
  int set = Enabled() ? static_cast<int>(state_) : 3;
  const COLORREF* c = colors_ + set * 6;
  d.colors = {c[0], c[1], c[2], c[3], c[4], c[5]};
  d.focusColor = colors_[Index(XiButtonColor::ColorFocusRect)];
  d.gradient = gradient_;
  d.ctl3D = ctl3D_;
  d.down = state_ == vsDown;
  d.focused = focused_;
  d.caption = Caption();
  d.font = hwnd_ ? reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0)) : nullptr;
  d.glyph = glyph_.get();
  d.transparentGlyph = transparentGlyph_;
  d.dpi = dpi_;
  d.layout = static_cast<XiGlyphLayout>(layout_);
  d.spacing = spacing_;
  return d;
}

}  // namespace zarn
