#include "app/frm_main.h"

#include "platform/clock.h"

namespace vekhor::app {
namespace {

// Page buttons: picture and tool tip of each page.
struct PageButton {
  int icon;
  int toolTip;
};
constexpr std::array<PageButton, kPageCount> kPageButtons{{
    {102, text::kSynchronize},
    {103, text::kSettings},
    {104, text::kServers},
    {105, text::kAbout},
}};
constexpr int kLinkCursor = 101;

constexpr int kTimer2IntervalMs = 500;

}  // namespace

frmMain::frmMain(Toolkit& tk, platform::Platform& system)
    : toolkit(tk),
      platform(system),
      form(tk.MainForm()),
      optSync{&form.optionButton(ControlId::optSync0), &form.optionButton(ControlId::optSync1),
              &form.optionButton(ControlId::optSync2), &form.optionButton(ControlId::optSync3)},
      Frame1{&form.frame(ControlId::Frame1_0), &form.frame(ControlId::Frame1_1),
             &form.frame(ControlId::Frame1_2), &form.frame(ControlId::Frame1_3)},
      cmdSync(form.button(ControlId::cmdSync)),
      lblStatus(form.label(ControlId::lblStatus)),
      chkSync(form.checkBox(ControlId::chkSync)),
      chkInternetConnection(form.checkBox(ControlId::chkInternetConnection)),
      chkSysTray(form.checkBox(ControlId::chkSysTray)),
      chkLog(form.checkBox(ControlId::chkLog)),
      chkAutostart(form.checkBox(ControlId::chkAutostart)),
      cmdLog(form.button(ControlId::cmdLog)),
      txtServer(form.textField(ControlId::txtServer)),
      cmdAdd(form.button(ControlId::cmdAdd)),
      cmdRemove(form.button(ControlId::cmdRemove)),
      lstServer(form.checkedList(ControlId::lstServer)),
      picLogo(form.pictureBox(ControlId::picLogo)),
      lblAbout(form.label(ControlId::lblAbout)),
      lblTime(form.label(ControlId::lblTime)),
      cmdExit(form.button(ControlId::cmdExit)),
      lblURL(form.label(ControlId::lblURL)),
      TrayIcon(form.trayHost(ControlId::TrayIcon)),
      Timer1(form.timer(ControlId::Timer1)),
      Timer2(form.timer(ControlId::Timer2)),
      mnuSysTray(form.popupMenu(ControlId::mnuSysTray)),
      mnuOpen(form.menuEntry(ControlId::mnuOpen)),
      mnuExit(form.menuEntry(ControlId::mnuExit)) {
  for (int index = 0; index < kPageCount; ++index) {
    optSync[static_cast<std::size_t>(index)]->onClick = [this, index] {
      optSync_Click(static_cast<std::int16_t>(index));
    };
  }
  form.onResize = [this] { Form_Resize(); };
  form.onMouseMove = [this](int b, int s, float x, float y) { Form_MouseMove(b, s, x, y); };
  lblURL.onMouseMove = [this](int b, int s, float x, float y) { lblURL_MouseMove(b, s, x, y); };
  lblURL.onMouseUp = [this](int b, int s, float x, float y) {
    lblURL_MouseUp(static_cast<std::int16_t>(b), s, x, y);
  };
  Timer2.onTick = [this] { Timer2_Timer(); };
}

void frmMain::Form_Load() {
  form.SetCaption(toolkit.AppTitle());
  SetCaptions();
  lblAbout.SetCaption(AboutText());
  picLogo.SetBitmap(kLogoBitmap);
  lblURL.SetMouseIcon(kLinkCursor);
  lblTime.SetCaption(platform.clock.NowText());
  lstServer.SetToolTip(toolkit.Texts().LoadResString(text::kDoubleClickToSync));
  mnuOpen.SetCaption(toolkit.Texts().LoadResString(text::kOpen));
  mnuExit.SetCaption(toolkit.Texts().LoadResString(text::kExit));
  SetPageButtons();
  for (int index = 1; index < kPageCount; ++index) {
    Frame1[static_cast<std::size_t>(index)]->SetVisible(false);
  }
  Timer2.SetEnabled(true);
  Timer2.SetInterval(kTimer2IntervalMs);
  form.SetVisible(true);
}

void frmMain::SetCaptions() {
  const TextSource& texts = toolkit.Texts();
  chkAutostart.SetCaption(texts.LoadResString(text::kAutorun));
  chkInternetConnection.SetCaption(texts.LoadResString(text::kCheckInternet));
  chkLog.SetCaption(texts.LoadResString(text::kLogToFile));
  chkSync.SetCaption(texts.LoadResString(text::kSynchronizeHourly));
  chkSysTray.SetCaption(texts.LoadResString(text::kStartInTray));
  cmdSync.SetCaption(texts.LoadResString(text::kSynchronize));
  cmdExit.SetCaption(texts.LoadResString(text::kExit));
  cmdAdd.SetCaption(texts.LoadResString(text::kAdd));
  cmdLog.SetCaption(texts.LoadResString(text::kViewLog));
  cmdRemove.SetCaption(texts.LoadResString(text::kRemove));
}

void frmMain::SetPageButtons() {
  for (std::size_t index = 0; index < kPageButtons.size(); ++index) {
    optSync[index]->SetCaption("");
    optSync[index]->SetPicture(kPageButtons[index].icon);
    optSync[index]->SetToolTip(toolkit.Texts().LoadResString(kPageButtons[index].toolTip));
  }
}

std::string frmMain::AboutText() const {
  const Version version = toolkit.AppVersion();
  return "Version " + std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
         std::to_string(version.revision) + "\r\n" + kCopyrightLine;
}

void frmMain::optSync_Click(std::int16_t Index) {
  if (Index < 0 || Index >= kPageCount) return;
  for (Frame* page : Frame1) page->SetVisible(false);
  Frame1[static_cast<std::size_t>(Index)]->SetVisible(true);
  // The about page has nothing to focus: the Exit button below the pages takes it.
  Control* const focus[kPageCount] = {&cmdSync, &chkSync, &txtServer, &cmdExit};
  focus[Index]->SetFocus();
}

void frmMain::Timer2_Timer() {
  lblTime.SetCaption(platform.clock.NowText());
}

void frmMain::lblURL_MouseMove(int, int, float, float) {
  lblURL.SetFontUnderline(true);
  lblURL.SetForeColor(kYellow);
}

void frmMain::Form_MouseMove(int, int, float, float) {
  lblURL.SetFontUnderline(false);
  lblURL.SetForeColor(kRed);
}

void frmMain::lblURL_MouseUp(std::int16_t Button, int, float, float) {
  if (Button != kLeftButton) return;
  platform.shell.Execute(form.Handle(), "", lblURL.Caption(), "", "C:\\", platform::kShowNormal);
}

void frmMain::Form_Resize() {
  if (form.WindowState() == kWindowMinimised) return;
  for (Frame* page : Frame1) {
    page->SetLeft(kPageRect.left);
    page->SetTop(kPageRect.top);
    page->SetHeight(kPageRect.height);
    page->SetWidth(kPageRect.width);
  }
}

}  // namespace vekhor::app
