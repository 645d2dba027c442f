#pragma once

namespace qavo::testing {

// True when no route leads off this machine: inside scripts/netns-run.
// Finds out with a route look-up only (connecting a UDP socket sends nothing).
bool InPrivateNetworkNamespace();

}  // namespace qavo::testing
