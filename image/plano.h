#pragma once

#include <cstddef>
#include <cstdint>

namespace velarno {

// A run of bytes of one picture plane, every byte 0 when made. A value: copying it copies the
// bytes. Large planes come straight from the system as zero pages that cost nothing until
// written, on transparent huge pages where the system offers them, so that writing a fresh
// 12 MB plane takes six page faults instead of three thousand. Throws std::bad_alloc when the
// memory cannot be had.
class Plano {
 public:
  Plano() = default;
  explicit Plano(size_t n);
  Plano(const Plano& otro);
  Plano(Plano&& otro) noexcept;
  Plano& operator=(const Plano& otro);
  Plano& operator=(Plano&& otro) noexcept;
  ~Plano();

  size_t size() const { return n_; }
  bool empty() const { return n_ == 0; }
  uint8_t* data() { return datos_; }
  const uint8_t* data() const { return datos_; }
  uint8_t& operator[](size_t i) { return datos_[i]; }
  uint8_t operator[](size_t i) const { return datos_[i]; }

 private:
  void liberar() noexcept;

  uint8_t* datos_ = nullptr;
  size_t n_ = 0;
  size_t mapeados_ = 0;  // bytes mapped from the system; 0 when the bytes come from calloc
};

}  // namespace velarno
