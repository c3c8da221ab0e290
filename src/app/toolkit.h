// What the program asks of its window toolkit: message boxes, labels, the application's
// folder and window. The Win32 window implements it with real controls, tests headlessly.
#pragma once

#include <string>

#include "platform/shell.h"
#include "res/catalogue.h"

namespace vekhor::app {

inline constexpr int kMsgBoxCritical = 16;       // critical icon, OK
inline constexpr int kMsgBoxQuestionYesNo = 36;  // question icon, Yes and No
inline constexpr int kMsgBoxAnswerYes = 6;
inline constexpr const char* kApplicationTitle = "Vektal Horolan";

class Label {
 public:
  virtual ~Label() = default;
  virtual void SetCaption(const std::string& caption) = 0;
  virtual std::string Caption() const = 0;
};

class Toolkit {
 public:
  virtual ~Toolkit() = default;
  // A message box captioned with the application title; returns the button pressed.
  virtual int MsgBox(const std::string& prompt, int style) = 0;
  virtual const TextSource& Texts() const = 0;
  // The program's folder, ending in a separator only at a drive's root.
  virtual std::string AppPath() const = 0;
  virtual platform::WindowHandle MainWindow() const = 0;
};

}  // namespace vekhor::app
