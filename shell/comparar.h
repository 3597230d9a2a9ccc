#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include <QImage>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QThread>
#include <QWidget>

#include "app/catalogo.h"
#include "app/espacio_trabajo.h"
#include "image/tipos.h"

class QComboBox;
class QGridLayout;
class QLabel;
class QFrame;

namespace velarno {

// One tile of the comparison as the worker hands it back: how the run ended, the threshold it
// published (none for the local methods and for a run without a result), the black pixels of
// the picture it drew and that picture scaled down.
struct ResultadoComparacion {
  int indice = 0;
  Fin fin = Fin::SinResultado;
  std::optional<int> umbral;
  bool dibujado = false;  // a picture was drawn: `negros` and `miniatura` hold it
  int64_t negros = 0;
  int64_t total = 0;
  QImage miniatura;
  QString detalle;  // why there is no result (the trace's last lines or the box text)
  // The drawn picture's scores against the reference, when there is one and a picture.
  std::optional<ResultadoEvaluacion> evaluacion;
};

// The tiles of the comparison, in catalogue order: every row's tiles (the manual threshold
// first), each method with the initial inputs of its frame and the tile's own texts.
struct MosaicoComparacion {
  const MetodoCatalogo* metodo;
  const MosaicoMetodo* mosaico;
};
const std::vector<MosaicoComparacion>& mosaicosComparacion();

// One worker of the comparison, on its own copy of the image record: it takes the next tile
// not yet taken by any worker of the same comparison and runs it in a headless context whose
// message boxes answer by themselves, until no tile is left. Every result is posted with the
// `resultado` signal (queued to the window), so tiles may arrive out of catalogue order.
// `cancelar` makes the running methods of every worker of the comparison stop at their next
// progress report and skips the rest; each object deletes itself once it has finished.
class HiloComparar : public QThread {
  Q_OBJECT
 public:
  // `hilos` workers (at least 1, at most one per tile, fewer when memory for another copy of
  // `datos` runs short), each with its own copy, not started; the long methods' tiles (Regional
  // and Relaxation) are taken first. Throws std::bad_alloc when not even one copy can be made.
  static std::vector<HiloComparar*> repartir(const DatosImagen& datos, int umbralManual,
                                             char separador, QSize miniatura,
                                             std::shared_ptr<const Referencia> referencia,
                                             int hilos);
  ~HiloComparar() override;

  void cancelar();
  // Tests: workers of this kind still running.
  static int vivosParaPruebas() { return vivos_; }

 signals:
  void empezando(int indice);
  void resultado(const velarno::ResultadoComparacion& resultado);

 protected:
  void run() override;

 private:
  struct Reparto;  // the tiles in the order they are taken, the next one, the cancel flag
  HiloComparar(DatosImagen copia, int umbralManual, char separador, QSize miniatura,
               std::shared_ptr<const Referencia> referencia, std::shared_ptr<Reparto> reparto);

  DatosImagen copia_;
  int umbralManual_;
  char separador_;
  QSize miniatura_;
  std::shared_ptr<const Referencia> referencia_;
  std::shared_ptr<Reparto> reparto_;
  static std::atomic<int> vivos_;
};

// "Comparar métodos": a grid of tiles, one per method with its default inputs and one for the
// manual threshold, each with the binarized picture, the method's name, its threshold and the
// share of black pixels; with a reference, also its six scores, the tiles sorted by the
// measure chosen in "Ordenar por" and the best marked. The tiles fill in as the workers' results
// arrive (one worker per core). Clicking a tile that holds a global threshold emits
// `umbralElegido`. Closing the window cancels the workers and deletes the window; no worker
// touches it afterwards.
class VentanaComparar : public QWidget {
  Q_OBJECT
 public:
  // Copies `datos` (the record as it is now) and starts the workers at once; `umbralManual` is
  // the scroll bar's value.
  VentanaComparar(const DatosImagen& datos, int umbralManual, QWidget* padre = nullptr,
                  std::shared_ptr<const Referencia> referencia = nullptr);
  ~VentanaComparar() override;

  // The results received so far, by tile (empty until its result arrives).
  const std::vector<std::optional<ResultadoComparacion>>& resultados() const { return resultados_; }
  bool terminada() const { return recibidos_ == static_cast<int>(resultados_.size()); }
  // Chooses tile `i` as a click does.
  void elegir(int i);
  // The measures "Ordenar por" offers, in its order; 0 keeps the catalogue order.
  enum Orden { kOrdenMetodos, kOrdenF, kOrdenP, kOrdenR, kOrdenME, kOrdenPSNR, kOrdenJaccard };
  // Sorts the tiles by `orden` (best first, tiles without the measure last) and marks the best.
  void ordenar(int orden);
  // The tiles' indices as they are laid out now, and the ones marked best.
  const std::vector<int>& ordenMosaicos() const { return orden_; }
  std::vector<int> mejores() const;

 signals:
  void umbralElegido(int umbral);
  void terminado();

 protected:
  void closeEvent(QCloseEvent* evento) override;

 private:
  struct Mosaico {
    QFrame* marco = nullptr;
    QWidget* imagen = nullptr;  // the thumbnail
    QLabel* umbral = nullptr;
    QLabel* negro = nullptr;
    QLabel* evaluacion = nullptr;
    QLabel* mejor = nullptr;
  };
  // The value of tile `i` for measure `orden`, higher being better; nullopt when it has none.
  std::optional<double> valor(int i, int orden) const;
  void empezar(int indice);
  void recibir(const ResultadoComparacion& resultado);
  // "Calculando …" with the tile started last among those still running.
  void mostrarEnCurso();
  void detenerHilos();

  std::vector<Mosaico> mosaicos_;
  std::vector<std::optional<ResultadoComparacion>> resultados_;
  int recibidos_ = 0;
  QLabel* estado_ = nullptr;
  QGridLayout* rejilla_ = nullptr;
  QComboBox* cmbOrden_ = nullptr;
  std::vector<int> orden_;
  std::vector<int> enCurso_;  // tiles started and not yet received, in the order they started
  std::vector<QPointer<HiloComparar>> hilos_;
};

}  // namespace velarno

Q_DECLARE_METATYPE(velarno::ResultadoComparacion)
