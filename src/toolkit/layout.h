// The main window's controls as data: name, kind, container, creation order, rectangle in
// twips, font, colours and fixed caption. Both window toolkits build the window from this table;
// no position or colour of the window stands anywhere else.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace vekhor::toolkit {

// One entry per control, in creation order. The number is also the Win32 control identifier
// less kFirstControlId, so a test driver finds a control by the same name.
enum class ControlId : int {
  frmMain,
  optSync2,
  Frame1_2,
  cmdRemove,
  cmdAdd,
  txtServer,
  lstServer,
  optSync3,
  Frame1_3,
  picLogo,
  lblAbout,
  optSync1,
  optSync0,
  Timer2,
  cmdExit,
  Frame1_1,
  chkAutostart,
  chkInternetConnection,
  cmdLog,
  chkLog,
  chkSysTray,
  chkSync,
  Frame1_0,
  cmdSync,
  lblStatus,
  cmdSyncAdmin,
  Timer1,
  TrayIcon,
  lblURL,
  lblTime,
  mnuSysTray,
  mnuOpen,
  mnuSeparator,
  mnuExit,
};
inline constexpr int kControlCount = static_cast<int>(ControlId::mnuExit) + 1;
inline constexpr int kFirstControlId = 1000;

enum class ControlKind {
  Window,
  OptionButton,  // graphical style: a push-like button that stays down while selected
  Frame,         // a page: shows and hides the controls it contains
  Button,
  Label,
  CheckBox,
  TextField,
  CheckedList,
  PictureBox,  // picLogo shows a bitmap resource
  TrayHost,    // never visible; receives the tray icon's notifications
  Timer,
  PopupMenu,
  MenuEntry,
};

struct TwipsRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
};

struct Font {
  std::string_view face = "Tahoma";
  int hundredthsOfPoint = 825;
  bool bold = false;
};

// 0x00BBGGRR, as Windows' COLORREF.
using Color = std::uint32_t;
inline constexpr Color kSystemColor = 0xFFFFFFFF;  // the control's own theme colour
inline constexpr Color kBlack = 0x000000;
inline constexpr Color kGreen = 0x00FF00;
inline constexpr Color kRed = 0x0000FF;
inline constexpr Color kYellow = 0x00FFFF;

enum class TextAlign { Left, Centre };

struct ControlLayout {
  ControlId id = ControlId::frmMain;
  std::string_view name = {};
  ControlKind kind = ControlKind::Window;
  ControlId container = ControlId::frmMain;  // a Frame1 page, or mnuSysTray for its entries
  int index = -1;                            // position in its control array (optSync, Frame1)
  TwipsRect rect = {};
  Font font = {};
  Color foreColor = kSystemColor;
  Color backColor = kSystemColor;
  std::string_view caption = {};  // fixed caption; run-time captions come from the catalogue
  TextAlign align = TextAlign::Left;
  // A label whose text needs more lines than it has grows downwards, up to its container's
  // bottom edge, instead of cutting the text.
  bool growsToFit = false;
  // A check box whose caption is wider than its room beside the box takes a smaller size of its
  // font instead of cutting the text.
  bool shrinksToFit = false;
  // Hidden until code shows it; on a page, its window is made only when it first shows.
  bool visible = true;
};

// Every control, frmMain first, in creation order.
std::span<const ControlLayout> MainWindowLayout();
const ControlLayout& LayoutOf(ControlId id);

// The window's client area; the pages' common rectangle.
inline constexpr int kClientWidthTwips = 4710;
inline constexpr int kClientHeightTwips = 3345;
inline constexpr TwipsRect kPageRect{60, 660, 4575, 1515};
inline constexpr int kPageCount = 4;

// The maker's web address shown by the about link.
inline constexpr std::string_view kMakerAddress = "https://vektal.example/horolan";
// Bitmap resource of the logo on the about page.
inline constexpr int kLogoBitmap = 101;

}  // namespace vekhor::toolkit
