#include "fakes/headless_toolkit.h"

#include <utility>

namespace vekhor::fakes {

// Each event leaves the queue before it runs, so a handler that calls DoEvents itself carries
// on with the events after it instead of running it again.
void HeadlessToolkit::DoEvents() {
  ++doEventsCalls;
  while (!pending.empty()) {
    app::Event event = std::move(pending.front());
    pending.pop_front();
    if (event) event();
  }
}

}  // namespace vekhor::fakes
