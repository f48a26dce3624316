// Show requests on POSIX: a datagram socket beside the instance lock file.
// The running copy binds it; a later start sends it one byte.

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <optional>

#include "platform/posix/runtime_path.h"
#include "platform/show_request.h"

namespace tavo::platform {
namespace {

// The socket's address; none when the path is too long for one.
std::optional<sockaddr_un> SocketAddress(const std::string& instance_name) {
  const std::string path = posix::RuntimeFilePath(instance_name + ".show");
  sockaddr_un address{};
  if (path.size() >= sizeof address.sun_path) return std::nullopt;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return address;
}

class SocketListener : public ShowRequestListener {
 public:
  SocketListener(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
  ~SocketListener() override {
    ::close(fd_);
    ::unlink(path_.c_str());
  }
  int WaitHandle() const override { return fd_; }
  bool TakeRequests() override {
    bool any = false;
    char byte;
    for (;;) {
      const ssize_t n = ::recv(fd_, &byte, 1, MSG_DONTWAIT);
      if (n >= 0) any = true;
      else if (errno != EINTR) return any;  // EAGAIN: nothing more waits
    }
  }

 private:
  int fd_;
  std::string path_;
};

}  // namespace

bool AskRunningCopyToShow(const std::string& instance_name) {
  const auto address = SocketAddress(instance_name);
  if (!address) return false;
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const char request = 'S';
  ssize_t sent;
  do {
    sent = ::sendto(fd, &request, 1, MSG_DONTWAIT, reinterpret_cast<const sockaddr*>(&*address), sizeof *address);
  } while (sent < 0 && errno == EINTR);
  ::close(fd);
  return sent == 1;
}

std::unique_ptr<ShowRequestListener> ListenForShowRequests(const std::string& instance_name) {
  const auto address = SocketAddress(instance_name);
  if (!address) return nullptr;
  const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) return nullptr;
  // The caller holds the instance lock, so a socket left there belongs to a
  // copy that ended without removing it.
  ::unlink(address->sun_path);
  if (::bind(fd, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0) {
    ::close(fd);
    return nullptr;
  }
  return std::make_unique<SocketListener>(fd, address->sun_path);
}

}  // namespace tavo::platform
