// main() of the tests of windows: a QApplication on the offscreen platform
// (set by the test's environment), then the tests. Programs that open
// sockets refuse to run where a datagram could leave the machine.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdio>

#include "support/netns_guard.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
#ifdef QAVO_REQUIRE_NETNS
    if (!GTEST_FLAG_GET(list_tests) && !qavo::testing::InPrivateNetworkNamespace()) {
        std::fprintf(stderr,
                     "This test opens sockets: run it inside scripts/netns-run "
                     "(a private network namespace with only the loopback).\n");
        return 1;
    }
#endif
    return RUN_ALL_TESTS();
}
