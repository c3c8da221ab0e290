// What the program asks of its window toolkit: the main window and its controls (built from the
// layout table), their events, and a few services. The Win32 window implements it with real
// controls; tests use a headless toolkit whose controls are plain objects.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "platform/shell.h"
#include "res/catalogue.h"
#include "toolkit/layout.h"

namespace vekhor::toolkit {

inline constexpr int kMsgBoxCritical = 16;       // critical icon, OK
inline constexpr int kMsgBoxQuestionYesNo = 36;  // question icon, Yes and No
inline constexpr int kMsgBoxAnswerYes = 6;
inline constexpr const char* kApplicationTitle = "Vektal Horolan";

// Mouse buttons and window states, in the toolkit's numbering.
inline constexpr int kLeftButton = 1;
inline constexpr int kRightButton = 2;
inline constexpr int kMiddleButton = 4;
inline constexpr int kWindowNormal = 0;
inline constexpr int kWindowMinimised = 1;

// Why the window is asked to unload, in the toolkit's numbering.
inline constexpr int kUnloadFromControlMenu = 0;  // the close box, Alt+F4
inline constexpr int kUnloadFromCode = 1;
inline constexpr int kUnloadFromWindows = 2;  // the user's session ends

// Pointer events: button state, shift state, position in twips.
using MouseEvent = std::function<void(int button, int shift, float x, float y)>;
using Event = std::function<void()>;

// What every control has: visibility, focus, a place in twips within its container.
class Control {
 public:
  virtual ~Control() = default;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  virtual void SetFocus() = 0;
  virtual void SetToolTip(const std::string& text) = 0;
  virtual TwipsRect Rect() const = 0;
  virtual void SetLeft(int twips) = 0;
  virtual void SetTop(int twips) = 0;
  virtual void SetWidth(int twips) = 0;
  virtual void SetHeight(int twips) = 0;
};

class Label : public Control {
 public:
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetForeColor(Color color) = 0;
  virtual Color ForeColor() const = 0;
  virtual void SetFontUnderline(bool underline) = 0;
  virtual bool FontUnderline() const = 0;
  // The pointer shown over the label: a cursor resource of the program.
  virtual void SetMouseIcon(int cursorResource) = 0;
  MouseEvent onMouseMove;
  MouseEvent onMouseUp;
};

class Button : public Control {
 public:
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  // The shield that marks a button whose action asks for administrator rights.
  virtual void SetShield(bool shield) = 0;
  Event onClick;
};

inline constexpr int kUnchecked = 0;
inline constexpr int kChecked = 1;
inline constexpr int kGrayed = 2;

// Values 0, 1, 2; the click event runs whenever the value changes, from a click or from code.
class CheckBox : public Control {
 public:
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetValue(int value) = 0;
  virtual int Value() const = 0;
  Event onClick;
};

// One button of a graphical option-button array; the form raises the array's click with the
// index. Selecting one clears the others.
class OptionButton : public Control {
 public:
  virtual void SetCaption(const std::string& caption) = 0;
  virtual void SetPicture(int iconResource) = 0;
  virtual bool Value() const = 0;
  Event onClick;
};

class Frame : public Control {};

class TextField : public Control {
 public:
  virtual void SetText(const std::string& text) = 0;
  virtual std::string Text() const = 0;
};

// A list with a check box in front of each entry. Indexes from 0; ListIndex is -1 when no entry
// is current. onItemCheck runs whenever an entry's check mark changes.
class CheckedList : public Control {
 public:
  virtual int ListCount() const = 0;
  virtual std::string List(int index) const = 0;
  virtual bool Selected(int index) const = 0;
  virtual void SetSelected(int index, bool checked) = 0;
  virtual int ListIndex() const = 0;
  virtual void SetListIndex(int index) = 0;
  virtual void AddItem(const std::string& text) = 0;
  virtual void RemoveItem(int index) = 0;
  virtual void Clear() = 0;
  std::function<void(int index)> onItemCheck;
  Event onDblClick;
};

class PictureBox : public Control {
 public:
  virtual void SetBitmap(int bitmapResource) = 0;
};

// The hidden picture box that owns the tray icon: a window handle for the shell's notifications
// and the icon's picture. A notification message m arrives as a mouse move with x = m in twips.
class TrayHost : public Control {
 public:
  virtual platform::WindowHandle Handle() const = 0;
  virtual void SetPicture(int iconResource) = 0;
  virtual std::uintptr_t PictureHandle() const = 0;
  // The screen's twips per pixel, to take the message number back out of x.
  virtual int TwipsPerPixel() const = 0;
  MouseEvent onMouseMove;
};

// Ticks arrive through the message loop while the timer is enabled.
class Timer {
 public:
  virtual ~Timer() = default;
  virtual void SetInterval(int milliseconds) = 0;
  virtual int Interval() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  Event onTick;
};

class MenuEntry {
 public:
  virtual ~MenuEntry() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
  Event onClick;
};

// Shown at the mouse position, with no default entry.
class PopupMenu {
 public:
  virtual ~PopupMenu() = default;
  virtual void Popup() = 0;
};

// The main window: its own state and events, and its controls by name.
class Form {
 public:
  virtual ~Form() = default;
  virtual void SetCaption(const std::string& title) = 0;
  virtual std::string Caption() const = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual bool Visible() const = 0;
  virtual int WindowState() const = 0;
  // Asks to unload: onQueryUnload may refuse, else onUnload runs and the window goes.
  virtual void Unload() = 0;
  virtual platform::WindowHandle Handle() const = 0;

  virtual Label& label(ControlId id) = 0;
  virtual Button& button(ControlId id) = 0;
  virtual CheckBox& checkBox(ControlId id) = 0;
  virtual OptionButton& optionButton(ControlId id) = 0;
  virtual Frame& frame(ControlId id) = 0;
  virtual TextField& textField(ControlId id) = 0;
  virtual CheckedList& checkedList(ControlId id) = 0;
  virtual PictureBox& pictureBox(ControlId id) = 0;
  virtual TrayHost& trayHost(ControlId id) = 0;
  virtual Timer& timer(ControlId id) = 0;
  virtual PopupMenu& popupMenu(ControlId id) = 0;
  virtual MenuEntry& menuEntry(ControlId id) = 0;

  Event onActivate;                                          // shown after being hidden
  std::function<void(int& cancel, int mode)> onQueryUnload;  // non-zero cancel refuses
  std::function<void(int& cancel)> onUnload;
  Event onResize;
  MouseEvent onMouseMove;  // over the window's own surface, not over its controls
  Event onTaskbarCreated;  // the shell's taskbar (re)started: tray icons must be added again
  Event onResume;          // the computer woke from sleep or hibernation
};

struct Version {
  int major = 0;
  int minor = 0;
  int revision = 0;
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  virtual Form& MainForm() = 0;
  // A message box captioned with the application title; returns the button pressed.
  virtual int MsgBox(const std::string& prompt, int style) = 0;
  // Handles every pending window event, then returns.
  virtual void DoEvents() = 0;
  virtual const TextSource& Texts() const = 0;
  // The program's folder in UTF-8, ending in a separator only at a drive's root.
  virtual std::string AppPath() const = 0;
  virtual std::string AppTitle() const = 0;
  virtual Version AppVersion() const = 0;
  // Whether another instance of the program runs in this user's session.
  virtual bool PrevInstance() const = 0;
  // The command-line arguments as one text, the program's name excluded.
  virtual std::string Command() const = 0;
  virtual platform::WindowHandle MainWindow() const = 0;
};

}  // namespace vekhor::toolkit
