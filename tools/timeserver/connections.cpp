#include "connections.h"

#include <algorithm>

#include "time_protocol.h"

namespace timeserver {

Connections::~Connections() {
  stopping_ = true;
  for (Worker& worker : workers_) worker.thread.join();
}

void Connections::Serve(Descriptor connection) {
  auto finished = std::make_shared<std::atomic<bool>>(false);
  std::thread thread([this, finished, owned = std::move(connection)]() mutable {
    timeserver::Serve(std::move(owned), behaviour_, stopping_);
    *finished = true;
  });
  workers_.push_back({std::move(finished), std::move(thread)});
}

void Connections::JoinFinished() {
  const auto done = std::partition(workers_.begin(), workers_.end(),
                                   [](const Worker& worker) { return !*worker.finished; });
  for (auto it = done; it != workers_.end(); ++it) it->thread.join();
  workers_.erase(done, workers_.end());
}

}  // namespace timeserver
