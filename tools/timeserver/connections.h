// The connections being served, one thread each. The accept loop never waits for them; the
// server's end waits for all of them, so nothing is left running or open when it exits.
#pragma once

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "behaviour.h"
#include "descriptor.h"

namespace timeserver {

class Connections {
 public:
  explicit Connections(Behaviour behaviour) : behaviour_(std::move(behaviour)) {}
  ~Connections();  // tells waiting behaviours to give up and joins every thread
  Connections(const Connections&) = delete;
  Connections& operator=(const Connections&) = delete;

  void Serve(Descriptor connection);
  // Joins the threads that have finished, so a long run does not pile them up.
  void JoinFinished();

 private:
  struct Worker {
    std::shared_ptr<std::atomic<bool>> finished;
    std::thread thread;
  };
  Behaviour behaviour_;
  std::atomic<bool> stopping_{false};
  std::vector<Worker> workers_;
};

}  // namespace timeserver
