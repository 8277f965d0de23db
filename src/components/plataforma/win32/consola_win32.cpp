// Standard output and error on Windows. A console is handed wide text (WriteConsoleW), which
// it shows right whatever its code page: cmd's is the OEM one (850 in Spain), and it stays the
// user's. Redirected to a file or a pipe, a stream writes its bytes as they are: UTF-8, and line
// ends as given.
#include "sistema.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <iostream>
#include <memory>
#include <streambuf>
#include <string>

namespace pontavia::sistema {

namespace {

// How many bytes at the end of texto begin a UTF-8 character that has not ended yet.
std::size_t caracterSinAcabar(const char* texto, std::size_t n) {
    for (std::size_t atras = 1; atras <= 4 && atras <= n; ++atras) {
        const auto b = static_cast<unsigned char>(texto[n - atras]);
        if ((b & 0xC0) == 0x80) continue; // a continuation byte: its start lies further back
        const std::size_t largo = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
        return largo > atras ? atras : 0;
    }
    return 0;
}

// A stream's buffer that writes to a console in whole characters: one that two writes split
// waits in the buffer for its end.
class BufferConsola : public std::streambuf {
  public:
    explicit BufferConsola(HANDLE consola) : consola_(consola) {
        setp(buffer_, buffer_ + sizeof buffer_);
    }

  protected:
    int_type overflow(int_type c) override {
        if (!vaciar()) return traits_type::eof();
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return vaciar() ? 0 : -1; }

  private:
    bool vaciar() {
        const auto n = static_cast<std::size_t>(pptr() - pbase());
        const std::size_t resto = caracterSinAcabar(pbase(), n);
        const auto enteros = static_cast<int>(n - resto);
        bool bien = true;
        if (enteros > 0) {
            std::wstring ancho(static_cast<std::size_t>(enteros), L'\0');
            const int m = ::MultiByteToWideChar(CP_UTF8, 0, pbase(), enteros, ancho.data(),
                                                static_cast<int>(ancho.size()));
            for (int escritos = 0; escritos < m;) {
                DWORD hechos = 0;
                if (!::WriteConsoleW(consola_, ancho.data() + escritos,
                                     static_cast<DWORD>(m - escritos), &hechos, nullptr) ||
                    hechos == 0) {
                    bien = false;
                    break;
                }
                escritos += static_cast<int>(hechos);
            }
        }
        std::char_traits<char>::move(buffer_, pbase() + enteros, resto);
        setp(buffer_, buffer_ + sizeof buffer_);
        pbump(static_cast<int>(resto));
        return bien;
    }

    HANDLE consola_;
    char buffer_[4096];
};

// A stream that writes to a console through a BufferConsola while the program runs; at its end
// the stream gets its own buffer back, before the C++ runtime flushes the streams.
class StreamEnConsola {
  public:
    StreamEnConsola(std::ostream& stream, HANDLE consola)
        : stream_(stream), buffer_(consola), anterior_(stream.rdbuf(&buffer_)) {}
    ~StreamEnConsola() {
        stream_.flush();
        stream_.rdbuf(anterior_);
    }
    StreamEnConsola(const StreamEnConsola&) = delete;
    StreamEnConsola& operator=(const StreamEnConsola&) = delete;

  private:
    std::ostream& stream_;
    BufferConsola buffer_;
    std::streambuf* anterior_;
};

HANDLE consolaDe(DWORD estandar) {
    HANDLE h = ::GetStdHandle(estandar);
    DWORD modo = 0;
    return h && h != INVALID_HANDLE_VALUE && ::GetConsoleMode(h, &modo) ? h : nullptr;
}

} // namespace

void prepararConsola() {
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    // Constructed once, after the standard streams: ended before them.
    static const auto salida = [] {
        HANDLE h = consolaDe(STD_OUTPUT_HANDLE);
        return h ? std::make_unique<StreamEnConsola>(std::cout, h) : nullptr;
    }();
    static const auto error = [] {
        HANDLE h = consolaDe(STD_ERROR_HANDLE);
        return h ? std::make_unique<StreamEnConsola>(std::cerr, h) : nullptr;
    }();
}

} // namespace pontavia::sistema
