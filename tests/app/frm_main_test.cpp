// The main window on the headless toolkit: loading, page buttons, the link, clock, resizing.
#include "app/frm_main.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "support/headless_program.h"

namespace vekhor {
namespace {

using app::ControlId;

struct FrmMain : ::testing::Test, test::HeadlessProgram {
  FrmMain() { window.Form_Load(); }
};

constexpr ControlId kPages[] = {ControlId::Frame1_0, ControlId::Frame1_1, ControlId::Frame1_2,
                                ControlId::Frame1_3};
constexpr ControlId kPageButtons[] = {ControlId::optSync0, ControlId::optSync1, ControlId::optSync2,
                                      ControlId::optSync3};

TEST(FrmMainLoad, ShowsTheCatalogueTextsOfItsLanguageAndThePageButtons) {
  for (const Language language : {Language::English, Language::Swedish}) {
    SCOPED_TRACE(language == Language::English ? "English" : "Swedish");
    test::HeadlessProgram ui(language);
    ui.window.Form_Load();
    const auto text = [language](int number) {
      return std::string(CatalogueText(number, language));
    };
    EXPECT_EQ(ui.form.button(ControlId::cmdExit).caption, text(text::kExit));
    EXPECT_EQ(ui.form.checkBox(ControlId::chkInternetConnection).caption,
              text(text::kCheckInternet));
    EXPECT_EQ(ui.form.checkedList(ControlId::lstServer).toolTip, text(text::kDoubleClickToSync));
    const int toolTips[] = {text::kSynchronize, text::kSettings, text::kServers, text::kAbout};
    for (int index = 0; index < app::kPageCount; ++index) {
      const fakes::HeadlessOptionButton& button = ui.form.optionButton(kPageButtons[index]);
      EXPECT_EQ(button.caption, "");
      EXPECT_EQ(button.picture, 102 + index);
      EXPECT_EQ(button.toolTip, text(toolTips[index]));
    }
  }
  EXPECT_NE(CatalogueText(text::kExit, Language::Swedish),
            CatalogueText(text::kExit, Language::English));
}

TEST_F(FrmMain, LoadShowsTheFirstPageAndEachPageButtonOnlyItsPageFocusingItsFirstControl) {
  EXPECT_EQ(form.caption, "Vektal Horolan");
  EXPECT_EQ(form.label(ControlId::lblAbout).caption,
            std::string("Version 1.0.33\r\n") + app::kCopyrightLine);
  EXPECT_TRUE(form.visible);
  const auto onlyShown = [this](int shown) {
    for (int index = 0; index < app::kPageCount; ++index) {
      EXPECT_EQ(form.frame(kPages[index]).visible, index == shown) << "page " << index;
    }
  };
  onlyShown(0);
  const app::Control* const firstControl[] = {
      &form.button(ControlId::cmdSync), &form.checkBox(ControlId::chkSync),
      &form.textField(ControlId::txtServer), &form.button(ControlId::cmdExit)};
  for (const int shown : {1, 2, 3, 0}) {
    SCOPED_TRACE(shown);
    form.optionButton(kPageButtons[shown]).Click();
    onlyShown(shown);
    EXPECT_EQ(form.focused, firstControl[shown]);
  }
}

// The link goes dark only when the pointer is over the window's own surface.
TEST_F(FrmMain, TheLinkLightsUpUnderThePointerAndOnlyALeftReleaseOpensTheAddress) {
  fakes::HeadlessLabel& link = form.label(ControlId::lblURL);
  for (int pass = 0; pass < 2; ++pass) {
    link.MoveMouse(30, 40);
    EXPECT_EQ(link.foreColor, 0x00FFFFu);
    EXPECT_TRUE(link.underline);
    form.MoveMouse(10, 10);
    EXPECT_EQ(link.foreColor, 0x0000FFu);
    EXPECT_FALSE(link.underline);
  }
  form.handle = 0xBEEF;
  link.ReleaseMouse(app::kRightButton);
  link.ReleaseMouse(app::kMiddleButton);
  EXPECT_TRUE(shell.calls.empty());
  link.ReleaseMouse(app::kLeftButton, 100, 50);
  EXPECT_EQ(shell.calls, (std::vector<fakes::RecordingShell::Call>{
                             {0xBEEF, "", "https://vektal.example/horolan", "", "C:\\", 1}}));
}

TEST_F(FrmMain, TheClockShowsTheTimeFromTheLoadOnAndFollowsTimer2) {
  const fakes::HeadlessLabel& time = form.label(ControlId::lblTime);
  EXPECT_EQ(time.caption, "2004-04-10 14:00:00");
  fakes::HeadlessTimer& timer = form.timer(ControlId::Timer2);
  EXPECT_TRUE(timer.enabled);
  EXPECT_EQ(timer.interval, 500);
  for (const char* now : {"2004-04-10 14:00:01", "2004-04-10 14:00:02"}) {
    clock.now = now;
    timer.Tick();
    EXPECT_EQ(time.caption, now);
  }
}

TEST_F(FrmMain, ResizingPutsThePagesBackUnlessTheWindowIsMinimised) {
  for (const int state : {app::kWindowMinimised, app::kWindowNormal, 2}) {  // 2: maximised
    SCOPED_TRACE(state);
    for (const ControlId page : kPages) form.frame(page).rect = {5, 6, 7, 8};
    form.windowState = state;
    form.Resize();
    const auto expected = state == app::kWindowMinimised ? std::make_tuple(5, 6, 7, 8)
                                                         : std::make_tuple(60, 660, 4575, 1515);
    for (const ControlId page : kPages) {
      const app::TwipsRect& rect = form.frame(page).rect;
      EXPECT_EQ(std::make_tuple(rect.left, rect.top, rect.width, rect.height), expected);
    }
  }
}

// No "SysTray" stored is a first start: the checked defaults join the list found, which is
// stored; the unload stores "SysTray", so a restart finds the list as left and adds none.
TEST(FrmMainStart, TheFirstStartAppendsTheDefaultsAndARestartFindsTheListAsLeft) {
  platform::MemoryRegistry registry(platform::EnumerationOrder::ByName);
  {
    test::HeadlessProgram first(registry);
    first.window.settings.SaveSetting("Vektal", "Horolan\\Servers", "Server1", "mine.example");
    first.window.settings.SaveSetting("Vektal", "Horolan\\Servers", "ServerChecked1", "0");
    first.window.Form_Load();
    fakes::HeadlessCheckedList& list = first.form.checkedList(ControlId::lstServer);
    ASSERT_EQ(list.items.size(), 13u);
    EXPECT_EQ(list.items[0].text, "mine.example");
    EXPECT_FALSE(list.items[0].checked);
    for (std::size_t n = 1; n < 13; ++n) EXPECT_TRUE(list.items[n].checked) << list.items[n].text;
    EXPECT_EQ(first.form.checkBox(ControlId::chkInternetConnection).value, app::kChecked);
    list.ClickCheck(2);
    first.form.button(ControlId::cmdExit).Click();
    EXPECT_TRUE(first.form.unloaded);
  }
  test::HeadlessProgram second(registry);
  second.window.Form_Load();
  const auto& items = second.form.checkedList(ControlId::lstServer).items;
  ASSERT_EQ(items.size(), 13u);
  EXPECT_EQ(items[0].text, "mine.example");
  EXPECT_FALSE(items[2].checked);
  EXPECT_TRUE(items[3].checked);
  EXPECT_EQ(second.Setting("SysTray"), "0");
  EXPECT_EQ(second.Setting("InternetConnection"), "1");
}

}  // namespace
}  // namespace vekhor
