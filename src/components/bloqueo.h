#pragma once
// Exclusive use of a table: an advisory lock (flock) held for as long as the object lives.
// Another program holding the table makes the lock fail at once, never wait.
#include <filesystem>

namespace pontavia {

class BloqueoExclusivo {
  public:
    // Opens ruta and takes its lock; raises an error that names the table when another
    // program holds it or the file cannot be opened.
    explicit BloqueoExclusivo(const std::filesystem::path& ruta);
    ~BloqueoExclusivo();
    BloqueoExclusivo(BloqueoExclusivo&& otro) noexcept;
    BloqueoExclusivo& operator=(BloqueoExclusivo&& otro) noexcept;
    BloqueoExclusivo(const BloqueoExclusivo&) = delete;
    BloqueoExclusivo& operator=(const BloqueoExclusivo&) = delete;

    int descriptor() const { return fd_; }

  private:
    int fd_ = -1;
};

} // namespace pontavia
