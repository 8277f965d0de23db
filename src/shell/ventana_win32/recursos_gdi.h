#pragma once
// The window's GDI objects, loaded modules and COM objects, each released with the object that
// holds it.
#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace pontavia {

template <typename H, auto liberar> class Propio {
  public:
    Propio() = default;
    explicit Propio(H h) : h_(h) {}
    ~Propio() { reset(); }
    Propio(Propio&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    Propio& operator=(Propio&& o) noexcept {
        if (this != &o) {
            reset();
            h_ = std::exchange(o.h_, nullptr);
        }
        return *this;
    }
    Propio(const Propio&) = delete;
    Propio& operator=(const Propio&) = delete;

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(H h = nullptr) {
        if (h_) liberar(h_);
        h_ = h;
    }

  private:
    H h_ = nullptr;
};

inline void borrarObjeto(HGDIOBJ h) {
    DeleteObject(h);
}
inline void liberarModulo(HMODULE h) {
    FreeLibrary(h);
}
inline void liberarLocal(void* p) {
    LocalFree(p);
}
inline void destruirLista(HIMAGELIST h) {
    ImageList_Destroy(h);
}
inline void liberarCom(IUnknown* p) {
    p->Release();
}

using Fuente = Propio<HFONT, borrarObjeto>;
using Pincel = Propio<HBRUSH, borrarObjeto>;
using Pluma = Propio<HPEN, borrarObjeto>;
using Mapa = Propio<HBITMAP, borrarObjeto>;
using Modulo = Propio<HMODULE, liberarModulo>;
using ListaImagenes = Propio<HIMAGELIST, destruirLista>;

// COM on the calling thread, for as long as the object lives (single-threaded, as a window's
// thread has it; nothing to undo when another part of the thread set it up otherwise).
class ComDelHilo {
  public:
    ComDelHilo() : hecho_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ~ComDelHilo() {
        if (hecho_) CoUninitialize();
    }
    ComDelHilo(const ComDelHilo&) = delete;
    ComDelHilo& operator=(const ComDelHilo&) = delete;

  private:
    bool hecho_;
};

} // namespace pontavia
