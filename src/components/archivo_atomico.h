#pragma once
// Files that appear whole or not at all: the bytes go to a temporary file in the same
// folder, which then replaces the target in one rename. A failed write leaves the old file.
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>

namespace pontavia {

void escribirAtomico(const std::filesystem::path& destino, std::string_view datos);

// The same in two steps, for a file that must appear only if other work succeeds: the bytes
// are written and flushed at once; confirmar() puts them in place. Destroyed unconfirmed,
// it leaves no trace.
class ArchivoPreparado {
  public:
    ArchivoPreparado(const std::filesystem::path& destino, std::string_view datos);
    ~ArchivoPreparado();
    ArchivoPreparado(const ArchivoPreparado&) = delete;
    ArchivoPreparado& operator=(const ArchivoPreparado&) = delete;
    void confirmar();

  private:
    std::filesystem::path destino_;
    std::string temporal_;
    bool confirmado_ = false;
};

// Seam for tests: while a limit is set, every write path of the program fails, as a full
// disk would, once that many bytes have been written in all since the limit was set.
class LimiteEscritura {
  public:
    explicit LimiteEscritura(std::size_t bytes);
    ~LimiteEscritura();
    LimiteEscritura(const LimiteEscritura&) = delete;
    LimiteEscritura& operator=(const LimiteEscritura&) = delete;
};

} // namespace pontavia
