#include "pty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace handset {

bool open_pty(pty& out, std::string& error)
{
    out.master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (out.master < 0 || ::grantpt(out.master) != 0 || ::unlockpt(out.master) != 0) {
        error = std::string("cannot open a pseudo-terminal: ") + std::strerror(errno);
        return false;
    }
    const char* name = ::ptsname(out.master);
    if (!name) {
        error = "cannot name the pseudo-terminal";
        return false;
    }
    out.path = name;
    out.slave = ::open(name, O_RDWR | O_NOCTTY);
    if (out.slave < 0) {
        error = std::string("cannot open ") + name + ": " + std::strerror(errno);
        return false;
    }
    // Raw both ways: the line carries binary frames.
    termios t{};
    ::tcgetattr(out.slave, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(out.slave, TCSANOW, &t);
    ::tcgetattr(out.master, &t);
    ::cfmakeraw(&t);
    ::tcsetattr(out.master, TCSANOW, &t);
    return true;
}

void close_pty(pty& p)
{
    if (p.slave >= 0) ::close(p.slave);
    if (p.master >= 0) ::close(p.master);
    p.slave = p.master = -1;
}

} // namespace handset
