// main() of the test programs that open sockets: they refuse to run where a
// datagram could leave the machine.
#include <gtest/gtest.h>

#include <cstdio>

#include "support/netns_guard.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!GTEST_FLAG_GET(list_tests) && !qavo::testing::InPrivateNetworkNamespace()) {
        std::fprintf(stderr,
                     "This test opens sockets: run it inside scripts/netns-run "
                     "(a private network namespace with only the loopback).\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
