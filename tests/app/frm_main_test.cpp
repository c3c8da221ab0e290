// The main window as the user meets it, on the headless toolkit: what loading shows, the page
// buttons, the about link, the clock and resizing.
#include "app/frm_main.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>

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

std::tuple<int, int, int, int> Place(const app::TwipsRect& rect) {
  return {rect.left, rect.top, rect.width, rect.height};
}

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

TEST_F(FrmMain, LoadShowsTheFirstPageTheVersionAndTheTimeAndStartsTheClock) {
  EXPECT_EQ(form.caption, "Vektal Horolan");
  EXPECT_EQ(form.label(ControlId::lblAbout).caption,
            std::string("Version 1.0.33\r\n") + app::kCopyrightLine);
  for (int index = 0; index < app::kPageCount; ++index) {
    EXPECT_EQ(form.frame(kPages[index]).visible, index == 0) << "page " << index;
  }
  EXPECT_EQ(form.label(ControlId::lblTime).caption, "2004-04-10 14:00:00");
  EXPECT_TRUE(form.timer(ControlId::Timer2).enabled);
  EXPECT_EQ(form.timer(ControlId::Timer2).interval, 500);
  EXPECT_TRUE(form.visible);
}

TEST_F(FrmMain, EachPageButtonShowsOnlyItsPageAndFocusesItsFirstControl) {
  const app::Control* const firstControl[] = {
      &form.button(ControlId::cmdSync), &form.checkBox(ControlId::chkSync),
      &form.textField(ControlId::txtServer), &form.button(ControlId::cmdExit)};
  for (const int shown : {1, 2, 3, 0}) {
    SCOPED_TRACE(shown);
    form.optionButton(kPageButtons[shown]).Click();
    for (int index = 0; index < app::kPageCount; ++index) {
      EXPECT_EQ(form.frame(kPages[index]).visible, index == shown) << "page " << index;
    }
    EXPECT_EQ(form.focused, firstControl[shown]);
  }
}

TEST_F(FrmMain, TheLinkLightsUpUnderThePointerUntilThePointerIsOverTheWindowItself) {
  fakes::HeadlessLabel& link = form.label(ControlId::lblURL);
  link.MoveMouse(30, 40);
  EXPECT_EQ(link.foreColor, 0x00FFFFu);
  EXPECT_TRUE(link.underline);
  form.MoveMouse(10, 10);
  EXPECT_EQ(link.foreColor, 0x0000FFu);
  EXPECT_FALSE(link.underline);
  // Straight onto a neighbouring control the window sees no move of its own: the link stays lit.
  link.MoveMouse();
  form.button(ControlId::cmdExit).Click();
  EXPECT_EQ(link.foreColor, 0x00FFFFu);
  EXPECT_TRUE(link.underline);
}

TEST_F(FrmMain, OnlyReleasingTheLeftButtonOnTheLinkOpensTheAddress) {
  form.handle = 0xBEEF;
  fakes::HeadlessLabel& link = form.label(ControlId::lblURL);
  link.ReleaseMouse(app::kRightButton);
  link.ReleaseMouse(app::kMiddleButton);
  EXPECT_TRUE(shell.calls.empty());
  link.ReleaseMouse(app::kLeftButton, 100, 50);
  ASSERT_EQ(shell.calls.size(), 1u);
  const fakes::RecordingShell::Call& call = shell.calls[0];
  EXPECT_EQ(call.owner, 0xBEEFu);
  EXPECT_EQ(call.verb, "");
  EXPECT_EQ(call.file, "https://vektal.example/horolan");
  EXPECT_EQ(call.parameters, "");
  EXPECT_EQ(call.directory, "C:\\");
  EXPECT_EQ(call.show, 1);
}

TEST_F(FrmMain, TheClockFollowsTimer2WhileItRuns) {
  fakes::HeadlessTimer& timer = form.timer(ControlId::Timer2);
  const fakes::HeadlessLabel& time = form.label(ControlId::lblTime);
  for (const char* now : {"2004-04-10 14:00:01", "2004-04-10 14:00:02"}) {
    clock.now = now;
    timer.Tick();
    EXPECT_EQ(time.caption, now);
  }
  timer.enabled = false;
  clock.now = "2004-04-10 14:00:03";
  timer.Tick();
  EXPECT_EQ(time.caption, "2004-04-10 14:00:02");
}

TEST_F(FrmMain, ResizingPutsThePagesBackUnlessTheWindowIsMinimised) {
  const auto moveAllPages = [this] {
    for (const ControlId page : kPages) form.frame(page).rect = {5, 6, 7, 8};
  };
  moveAllPages();
  form.windowState = app::kWindowMinimised;
  form.Resize();
  for (const ControlId page : kPages) {
    EXPECT_EQ(Place(form.frame(page).rect), std::make_tuple(5, 6, 7, 8));
  }
  for (const int state : {app::kWindowNormal, 2}) {  // 2: maximised
    moveAllPages();
    form.windowState = state;
    form.Resize();
    for (const ControlId page : kPages) {
      EXPECT_EQ(Place(form.frame(page).rect), std::make_tuple(60, 660, 4575, 1515));
    }
  }
}

// The first start seeds the twelve default servers, checked; the unload stores what tells the
// next start it is not the first, so the defaults are not appended again.
TEST(FrmMainStart, TheFirstStartSeedsTheDefaultsAndARestartFindsTheListAsLeft) {
  platform::MemoryRegistry registry(platform::EnumerationOrder::ByName);
  {
    test::HeadlessProgram first(registry);
    first.window.Form_Load();
    fakes::HeadlessCheckedList& list = first.form.checkedList(ControlId::lstServer);
    ASSERT_EQ(list.items.size(), 12u);
    for (const auto& item : list.items) EXPECT_TRUE(item.checked) << item.text;
    EXPECT_TRUE(first.form.visible);
    EXPECT_EQ(first.form.checkBox(ControlId::chkInternetConnection).value, app::kChecked);
    list.ClickCheck(2);
    first.form.button(ControlId::cmdExit).Click();
    EXPECT_TRUE(first.form.unloaded);
  }
  test::HeadlessProgram second(registry);
  second.window.Form_Load();
  const auto& items = second.form.checkedList(ControlId::lstServer).items;
  ASSERT_EQ(items.size(), 12u);
  EXPECT_FALSE(items[2].checked);
  EXPECT_TRUE(items[3].checked);
  EXPECT_EQ(second.Setting("SysTray"), "0");
  EXPECT_EQ(second.Setting("InternetConnection"), "1");
}

}  // namespace
}  // namespace vekhor
