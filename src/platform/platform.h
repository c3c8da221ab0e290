// Everything the program asks of the operating system, handed to the main window at creation.
#pragma once

namespace vekhor::platform {

class Sockets;
class Icmp;
class Connectivity;
class Clock;
class Registry;
class Shell;
class NotifyIcon;

struct Platform {
  Sockets& sockets;
  Icmp& icmp;
  Connectivity& connectivity;
  Clock& clock;
  Registry& registry;
  Shell& shell;
  NotifyIcon& notifyIcon;
};

}  // namespace vekhor::platform
