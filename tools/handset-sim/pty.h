// The simulator's end of a pseudo-terminal.
#pragma once

#include <string>

namespace handset {

struct pty {
    int master = -1;
    int slave = -1;  // kept open so that the line stays up between host sessions
    std::string path;
};

// Opens a raw pseudo-terminal; returns false with the reason in `error`.
bool open_pty(pty& out, std::string& error);
void close_pty(pty& p);

} // namespace handset
