#include "support/netns_guard.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace qavo::testing {

bool InPrivateNetworkNamespace() {
    int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
    if (fd < 0) return false;
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_port = htons(16888);
    addr.sin_addr.s_addr = htonl(0xC0A86308);  // the host's factory address
    bool routed = ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0;
    ::close(fd);
    return !routed;
}

}  // namespace qavo::testing
