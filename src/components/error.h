#pragma once
// The one kind of error the core raises: its message is already the Spanish sentence
// that the window or the command line shows to the user.
#include <stdexcept>
#include <string>

namespace pontavia {

class Error : public std::runtime_error {
  public:
    explicit Error(const std::string& mensaje) : std::runtime_error(mensaje) {}
};

} // namespace pontavia
