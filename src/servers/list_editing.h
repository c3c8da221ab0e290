// The Servers page: the server list box beside the server collection, and what adding, removing
// and ticking an entry store. The collection holds the list box's entries in the list box's
// order from the fill on; every add and remove rebuilds it from the list box and saves both.
#pragma once

#include <cstddef>

#include "platform/registry.h"
#include "servers/server_list.h"
#include "servers/settings_store.h"
#include "toolkit/toolkit.h"

namespace vekhor {

// The list box's check marks as the save reads them. An index the list box does not hold is
// unchecked.
class ListCheckMarks final : public ServerCheckMarks {
 public:
  explicit ListCheckMarks(const toolkit::CheckedList& list) : list_(list) {}
  bool IsChecked(std::size_t index) const override;

 private:
  const toolkit::CheckedList& list_;
};

// Shows the collection, each entry ticked unless its stored check mark is anything but "-1"; a
// missing mark ticks it.
void FillServerList(toolkit::CheckedList& lstServer, const ServerCollection& servers,
                    SettingsStore& settings);

// The collection becomes the list box's entries in its order, checked or not.
void CollectServers(const toolkit::CheckedList& lstServer, ServerCollection& servers);

// The Add button: the field's text, exactly as typed, becomes a new unchecked entry and the list
// is saved; the field is emptied. An empty field changes nothing. False when the save failed.
bool AddServer(toolkit::TextField& txtServer, toolkit::CheckedList& lstServer,
               ServerCollection& servers, platform::Registry& registry);

// The Remove button: after the user answers Yes to the question, the current entry goes and the
// list is saved. No current entry, or any other answer, changes nothing. False when the save
// failed.
bool RemoveServer(toolkit::Toolkit& toolkit, toolkit::CheckedList& lstServer,
                  ServerCollection& servers, platform::Registry& registry);

// An entry's box changed: its new check mark alone is stored. False for an index the list box
// does not hold and when the store refused the value.
bool StoreCheckMark(const toolkit::CheckedList& lstServer, int item, SettingsStore& settings);

}  // namespace vekhor
