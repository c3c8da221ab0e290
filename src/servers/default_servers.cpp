// The twelve servers of a first start. All are hosts of the NIST Internet Time Service, which
// still answers the Time protocol (RFC 868) on TCP port 37 besides NTP and daytime; they are
// spread over three sites and two networks, so one outage leaves most of the list working.
#include "servers/server_list.h"

namespace vekhor {

void AddDefaultServers(ServerCollection& servers) {
  servers.insert(servers.end(), {
                                    // Gaithersburg, Maryland: NIST's main campus.
                                    "time-a-g.nist.gov",
                                    "time-b-g.nist.gov",
                                    "time-c-g.nist.gov",
                                    "time-d-g.nist.gov",
                                    // Fort Collins, Colorado: beside the WWV transmitters.
                                    "time-a-wwv.nist.gov",
                                    "time-b-wwv.nist.gov",
                                    "time-c-wwv.nist.gov",
                                    // Boulder, Colorado: the time scale's own laboratory.
                                    "time-a-b.nist.gov",
                                    "time-b-b.nist.gov",
                                    "time-c-b.nist.gov",
                                    // University of Colorado, Boulder: NIST servers on the
                                    // university's network, reachable when nist.gov is not.
                                    "utcnist.colorado.edu",
                                    "utcnist2.colorado.edu",
                                });
}

}  // namespace vekhor
