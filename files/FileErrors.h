// The player's words for the operating system's reason why a file could not
// be read or written.
#pragma once

#include <string>

namespace yuunagi {

// Why a read or a write failed, from its errno, in the words a message puts
// in parentheses; a reason without words of its own keeps the system's text.
std::string ReasonForError(int errorNumber);

}  // namespace yuunagi
