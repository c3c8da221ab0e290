// Copying between the server list box and the server collection, and the page's three handlers.
#include "servers/list_editing.h"

#include <string>

namespace vekhor {
namespace {

constexpr int kRemoveQuestion = 115;
constexpr const char* kChecked = "-1";
constexpr const char* kUnchecked = "0";

// Where the settings store keeps single check marks: the Servers key itself.
std::string ServersSection() {
  return std::string(kSettingsSection) + "\\Servers";
}

std::string CheckMarkName(int index) {
  return "ServerChecked" + std::to_string(index + 1);
}

bool HoldsEntry(const toolkit::CheckedList& list, int index) {
  return index >= 0 && index < list.ListCount();
}

bool SaveShownList(const toolkit::CheckedList& lstServer, ServerCollection& servers,
                   platform::Registry& registry) {
  CollectServers(lstServer, servers);
  return SaveServers(registry, servers, ListCheckMarks(lstServer));
}

}  // namespace

bool ListCheckMarks::IsChecked(std::size_t index) const {
  return index < static_cast<std::size_t>(list_.ListCount()) &&
         list_.Selected(static_cast<int>(index));
}

void FillServerList(toolkit::CheckedList& lstServer, const ServerCollection& servers,
                    SettingsStore& settings) {
  lstServer.Clear();
  for (const std::string& host : servers) lstServer.AddItem(host);
  // Matched by position: the list box's order is the collection's.
  for (int i = 0; i < lstServer.ListCount(); ++i) {
    if (settings.GetSetting(kSettingsApplication, ServersSection(), CheckMarkName(i), kChecked) ==
        kChecked) {
      lstServer.SetSelected(i, true);
    }
  }
}

void CollectServers(const toolkit::CheckedList& lstServer, ServerCollection& servers) {
  servers.clear();
  const int count = lstServer.ListCount();
  servers.reserve(static_cast<std::size_t>(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) servers.push_back(lstServer.List(i));
}

bool AddServer(toolkit::TextField& txtServer, toolkit::CheckedList& lstServer,
               ServerCollection& servers, platform::Registry& registry) {
  const std::string host = txtServer.Text();
  if (host.empty()) return true;
  lstServer.AddItem(host);
  const bool saved = SaveShownList(lstServer, servers, registry);
  txtServer.SetText("");
  return saved;
}

bool RemoveServer(toolkit::Toolkit& toolkit, toolkit::CheckedList& lstServer,
                  ServerCollection& servers, platform::Registry& registry) {
  const int index = lstServer.ListIndex();
  if (!HoldsEntry(lstServer, index)) return true;
  const std::string host = lstServer.List(index);
  const int answer =
      toolkit.MsgBox(toolkit.Texts().LoadResString(kRemoveQuestion) + " " + host + "?",
                     toolkit::kMsgBoxQuestionYesNo);
  if (answer != toolkit::kMsgBoxAnswerYes) return true;
  // The question's message loop may have let the list change; remove only what was asked about.
  if (!HoldsEntry(lstServer, index) || lstServer.List(index) != host) return true;
  lstServer.RemoveItem(index);
  return SaveShownList(lstServer, servers, registry);
}

bool StoreCheckMark(const toolkit::CheckedList& lstServer, int item, SettingsStore& settings) {
  if (!HoldsEntry(lstServer, item)) return false;
  return settings.SaveSetting(kSettingsApplication, ServersSection(), CheckMarkName(item),
                              lstServer.Selected(item) ? kChecked : kUnchecked);
}

}  // namespace vekhor
