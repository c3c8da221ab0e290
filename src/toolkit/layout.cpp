#include "toolkit/layout.h"

#include <array>

namespace vekhor::toolkit {
namespace {

using enum ControlId;
using K = ControlKind;

constexpr Font kTahoma{"Tahoma", 825, false};
constexpr Font kTahomaBold{"Tahoma", 825, true};
constexpr Font kClockFont{"Tahoma", 975, true};
constexpr Font kLinkFont{"Verdana", 825, false};
constexpr TwipsRect kNone{};

// The page buttons: 1155 twips wide, the last one 1035.
constexpr TwipsRect PageButton(int index) {
  return {120 + 1140 * index, 60, index == 3 ? 1035 : 1155, 615};
}

// The Settings page's check boxes: green on black, one under the other, each shrinking its
// font when its caption is wider than the box.
constexpr ControlLayout SettingsCheckBox(ControlId id, std::string_view name, int top) {
  return {.id = id,
          .name = name,
          .kind = K::CheckBox,
          .container = Frame1_1,
          .rect = {120, top, 4275, 255},
          .font = kTahoma,
          .foreColor = kGreen,
          .backColor = kBlack,
          .shrinksToFit = true};
}

constexpr std::array<ControlLayout, kControlCount> kLayout{{
    {frmMain,
     "frmMain",
     K::Window,
     frmMain,
     -1,
     {0, 0, kClientWidthTwips, kClientHeightTwips},
     kTahoma,
     kSystemColor,
     kBlack},
    {optSync2, "optSync", K::OptionButton, frmMain, 2, PageButton(2), kTahomaBold},
    {Frame1_2, "Frame1", K::Frame, frmMain, 2, kPageRect, kTahoma, kSystemColor, kBlack},
    {cmdRemove, "cmdRemove", K::Button, Frame1_2, -1, {120, 900, 2055, 315}, kTahoma},
    {cmdAdd, "cmdAdd", K::Button, Frame1_2, -1, {120, 540, 2055, 315}, kTahoma},
    {txtServer, "txtServer", K::TextField, Frame1_2, -1, {120, 180, 2055, 285}, kTahoma},
    {lstServer, "lstServer", K::CheckedList, Frame1_2, -1, {2280, 180, 2175, 960}, kTahoma},
    {optSync3, "optSync", K::OptionButton, frmMain, 3, PageButton(3), kTahomaBold},
    {Frame1_3, "Frame1", K::Frame, frmMain, 3, kPageRect, kTahoma, kSystemColor, kBlack},
    {picLogo,
     "picLogo",
     K::PictureBox,
     Frame1_3,
     -1,
     {780, 180, 3000, 450},
     kTahoma,
     kSystemColor,
     kBlack},
    {lblAbout,
     "lblAbout",
     K::Label,
     Frame1_3,
     -1,
     {480, 720, 3615, 435},
     kTahomaBold,
     kGreen,
     kBlack,
     "",
     TextAlign::Centre},
    {optSync1, "optSync", K::OptionButton, frmMain, 1, PageButton(1), kTahomaBold},
    {optSync0, "optSync", K::OptionButton, frmMain, 0, PageButton(0), kTahomaBold},
    {Timer2, "Timer2", K::Timer, frmMain, -1, kNone, kTahoma},
    {cmdExit, "cmdExit", K::Button, frmMain, -1, {540, 2580, 3615, 375}, kTahomaBold},
    {Frame1_1, "Frame1", K::Frame, frmMain, 1, kPageRect, kTahoma, kSystemColor, kBlack},
    SettingsCheckBox(chkAutostart, "chkAutostart", 1140),
    SettingsCheckBox(chkInternetConnection, "chkInternetConnection", 420),
    {cmdLog, "cmdLog", K::Button, Frame1_1, -1, {3300, 900, 1215, 255}, kTahoma},
    SettingsCheckBox(chkLog, "chkLog", 900),
    SettingsCheckBox(chkSysTray, "chkSysTray", 660),
    SettingsCheckBox(chkSync, "chkSync", 180),
    {Frame1_0, "Frame1", K::Frame, frmMain, 0, kPageRect, kTahoma, kSystemColor, kBlack},
    {cmdSync, "cmdSync", K::Button, Frame1_0, -1, {480, 300, 3615, 375}, kTahomaBold},
    {lblStatus,
     "lblStatus",
     K::Label,
     Frame1_0,
     -1,
     {120, 840, 4335, 255},
     kTahomaBold,
     kGreen,
     kBlack,
     "",
     TextAlign::Centre,
     true},
    // Shown only after Windows refused a clock change: the same run as administrator.
    {.id = cmdSyncAdmin,
     .name = "cmdSyncAdmin",
     .kind = K::Button,
     .container = Frame1_0,
     .rect = {480, 1215, 3615, 300},
     .font = kTahoma,
     .visible = false},
    {Timer1, "Timer1", K::Timer, frmMain, -1, kNone, kTahoma},
    {.id = TrayIcon,
     .name = "TrayIcon",
     .kind = K::TrayHost,
     .container = frmMain,
     .rect = {60, 2520, 495, 495},
     .font = kTahoma,
     .visible = false},
    {lblURL,
     "lblURL",
     K::Label,
     frmMain,
     -1,
     {945, 3060, 2805, 195},
     kLinkFont,
     kRed,
     kBlack,
     kMakerAddress,
     TextAlign::Centre},
    {lblTime,
     "lblTime",
     K::Label,
     frmMain,
     -1,
     {180, 2220, 4335, 315},
     kClockFont,
     kGreen,
     kBlack,
     "",
     TextAlign::Centre},
    {mnuSysTray, "mnuSysTray", K::PopupMenu, frmMain, -1, kNone, kTahoma, kSystemColor,
     kSystemColor, "Popup"},
    {mnuOpen, "mnuOpen", K::MenuEntry, mnuSysTray, -1, kNone, kTahoma},
    {mnuSeparator, "mnuSeparator", K::MenuEntry, mnuSysTray, -1, kNone, kTahoma, kSystemColor,
     kSystemColor, "-"},
    {mnuExit, "mnuExit", K::MenuEntry, mnuSysTray, -1, kNone, kTahoma},
}};

constexpr bool InCreationOrder() {
  for (int i = 0; i < kControlCount; ++i) {
    if (static_cast<int>(kLayout[static_cast<std::size_t>(i)].id) != i) return false;
  }
  return true;
}
static_assert(InCreationOrder(), "the table is indexed by ControlId");

}  // namespace

std::span<const ControlLayout> MainWindowLayout() {
  return kLayout;
}

const ControlLayout& LayoutOf(ControlId id) {
  return kLayout[static_cast<std::size_t>(id)];
}

}  // namespace vekhor::toolkit
