#include <sys/wait.h>
#include <unistd.h>

#include "DataFileFixture.h"

const bool kWindows = false;
bool RunsAsRoot() { return ::geteuid() == 0; }

// A child process as a user whom mode bits stop: root, whom they do not,
// becomes nobody there first.
int ExitCodeAsPlainUser(const std::function<int()>& body) {
  constexpr uid_t kNobody = 65534;
  constexpr int kStillRoot = 99;
  const pid_t child = ::fork();
  if (child == 0) {
    if (RunsAsRoot() && (::setgid(kNobody) != 0 || ::setuid(kNobody) != 0)) ::_exit(kStillRoot);
    ::_exit(body());
  }
  int status = 0;
  ::waitpid(child, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
