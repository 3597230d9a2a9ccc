#pragma once

#include <string>
#include <vector>

namespace velarno {

// A method's trace list: a list box in the window, a vector of lines in tests and the CLI.
class Traza {
 public:
  virtual ~Traza() = default;
  virtual void limpiar() = 0;                          // at the start of every run
  virtual void agregar(const std::string& linea) = 0;  // "" is an empty line
};

// A trace kept as lines.
class TrazaLista : public Traza {
 public:
  void limpiar() override { lineas_.clear(); }
  void agregar(const std::string& linea) override { lineas_.push_back(linea); }
  const std::vector<std::string>& lineas() const { return lineas_; }
  // The lines joined, each followed by '\n'.
  std::string texto() const;

 private:
  std::vector<std::string> lineas_;
};

}  // namespace velarno
