#include "image/plano.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace velarno {

namespace {

#ifdef __linux__
constexpr size_t kPaginaGrande = size_t{2} << 20;

// n bytes (n >= kPaginaGrande) of fresh zero pages in whole huge pages, starting on a
// huge-page boundary, so that every 2 MiB of the plane can be one huge page: the partial one
// at the end costs at most 2 MiB more than the plane but one page fault instead of up to 511
// (each fault costs microseconds, far more than clearing a page). `mapeados` gets the mapped
// length. Null when the system has no memory to give.
uint8_t* mapear(size_t n, size_t& mapeados) {
  mapeados = (n + kPaginaGrande - 1) / kPaginaGrande * kPaginaGrande;
  const size_t total = mapeados + kPaginaGrande;
  void* p = mmap(nullptr, total, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (p == MAP_FAILED) return nullptr;
  auto* bruto = static_cast<uint8_t*>(p);
  const auto direccion = reinterpret_cast<uintptr_t>(bruto);
  const size_t delante = (kPaginaGrande - direccion % kPaginaGrande) % kPaginaGrande;
  uint8_t* inicio = bruto + delante;
  if (delante != 0) munmap(bruto, delante);
  munmap(inicio + mapeados, total - delante - mapeados);
  // Only advice: without huge pages the plane still works, with small pages.
  madvise(inicio, mapeados, MADV_HUGEPAGE);
  return inicio;
}
#endif

}  // namespace

Plano::Plano(size_t n) : n_(n) {
  if (n == 0) return;
#ifdef __linux__
  if (n >= kPaginaGrande) {
    datos_ = mapear(n, mapeados_);
    if (datos_ == nullptr) throw std::bad_alloc();
    return;
  }
#endif
  datos_ = static_cast<uint8_t*>(std::calloc(n, 1));
  if (datos_ == nullptr) throw std::bad_alloc();
}

Plano::Plano(const Plano& otro) : Plano(otro.n_) {
  if (n_ != 0) std::memcpy(datos_, otro.datos_, n_);
}

Plano::Plano(Plano&& otro) noexcept
    : datos_(std::exchange(otro.datos_, nullptr)),
      n_(std::exchange(otro.n_, 0)),
      mapeados_(std::exchange(otro.mapeados_, 0)) {}

Plano& Plano::operator=(const Plano& otro) {
  if (this == &otro) return *this;
  // A plane of the same size keeps its memory, already touched.
  if (n_ == otro.n_) {
    if (n_ != 0) std::memcpy(datos_, otro.datos_, n_);
    return *this;
  }
  return *this = Plano(otro);
}

Plano& Plano::operator=(Plano&& otro) noexcept {
  if (this == &otro) return *this;
  liberar();
  datos_ = std::exchange(otro.datos_, nullptr);
  n_ = std::exchange(otro.n_, 0);
  mapeados_ = std::exchange(otro.mapeados_, 0);
  return *this;
}

Plano::~Plano() { liberar(); }

void Plano::liberar() noexcept {
#ifdef __linux__
  if (mapeados_ != 0) {
    munmap(datos_, mapeados_);
    datos_ = nullptr;
    mapeados_ = 0;
    return;
  }
#endif
  std::free(datos_);
  datos_ = nullptr;
}

}  // namespace velarno
