// The workspace: the workflow's stages and the one answer of what is enabled, the open
// pipeline, the binarized view, and runs of catalogue rows with cancel and restore.
#include "app/espacio_trabajo.h"

#include <set>
#include <string>

#include <gtest/gtest.h>

#include "image/transformaciones.h"
#include "methods/dialogos_guion.h"
#include "methods/entorno_simple.h"
#include "support/imagen_prueba.h"
#include "support/superficie_grabadora.h"

namespace velarno {
namespace {

// Enabled flags as letters, in Habilitados order: G grises, H histograma, E ecualizar,
// B binarizar, V view on, S estadisticas, U umbral, C comparar, g grey drawn, b binarized drawn.
std::string letras(const Habilitados& h) {
  std::string s;
  for (const auto& [activo, letra] : {std::pair{h.grises, 'G'},
                                      {h.histograma, 'H'},
                                      {h.ecualizar, 'E'},
                                      {h.binarizar, 'B'},
                                      {h.vistaBinarizada, 'V'},
                                      {h.estadisticas, 'S'},
                                      {h.umbral, 'U'},
                                      {h.comparar, 'C'},
                                      {h.guardarGris, 'g'},
                                      {h.guardarBinarizada, 'b'}})
    if (activo) s += letra;
  return s;
}

// A 4 x 2 picture with levels 10, 40, 70, ... (row by row) as a loaded picture.
SuperficieGrabadora cargada() {
  SuperficieGrabadora s(4, 2, kBlanco, true);
  for (int32_t y = 0; y < 2; ++y)
    for (int32_t x = 0; x < 4; ++x) {
      const int g = 10 + 30 * (y * 4 + x);
      s.ponerPixel(x, y, rgb(g, g, g));
    }
  return s;
}

struct Espacio : ::testing::Test {
  SuperficieGrabadora gris{4, 2};
  SuperficieGrabadora binarizada{4, 2};
  EspacioTrabajo espacio{gris, binarizada};
  SuperficieGrabadora picture = cargada();
};

TEST_F(Espacio, EachStageOfTheWorkflowEnablesItsCommands) {
  EXPECT_EQ(letras(espacio.habilitados()), "");
  espacio.dimensionar(picture);
  EXPECT_EQ(letras(espacio.habilitados()), "G");
  espacio.leerGrises(picture);
  EXPECT_EQ(letras(espacio.habilitados()), "H");
  espacio.dibujarGris();
  espacio.calcularHistograma();
  EXPECT_EQ(letras(espacio.habilitados()), "EBUCg");
  espacio.alternarVistaBinarizada();
  EXPECT_EQ(letras(espacio.habilitados()), "EBVUCgb");
  espacio.ecualizar();
  EXPECT_EQ(espacio.etapa(), Etapa::Ecualizada);
  espacio.calcularHistograma();  // the histogram command does not undo the equalization
  EXPECT_EQ(letras(espacio.habilitados()), "BVUCgb");
  espacio.alternarVistaBinarizada();
  EXPECT_EQ(letras(espacio.habilitados()), "BUCg");
  espacio.inicializar();
  EXPECT_EQ(letras(espacio.habilitados()), "");
}

TEST_F(Espacio, OpeningReadsDrawsAndCountsThePicture) {
  espacio.fijarUmbral(41);
  espacio.abrir(picture);
  const DatosImagen& d = espacio.datos();
  ASSERT_EQ(d.ancho, 4);
  ASSERT_EQ(d.alto, 2);
  EXPECT_EQ(d.pixeles.gris(3, 1), 220);
  EXPECT_EQ(d.histograma[10], 1);
  EXPECT_EQ(gris.leerColor(1, 0), rgb(40, 40, 40));
  EXPECT_EQ(espacio.umbral(), 41);  // opening keeps the threshold
  // The view switched on binarizes with it; switched off, the picture is cleared.
  espacio.alternarVistaBinarizada();
  EXPECT_EQ(binarizada.leerColor(1, 0), kNegro);
  EXPECT_EQ(binarizada.leerColor(2, 0), kBlanco);
  espacio.alternarVistaBinarizada();
  EXPECT_EQ(binarizada.leerColor(1, 0), kBlanco);
}

// A context whose progress reports cancel at once, like "Cancelar".
class EntornoCancelado : public EntornoSimple {
 public:
  using EntornoSimple::EntornoSimple;
  bool progreso(double) override { return false; }
};

TEST_F(Espacio, ACancelledLocalRunGivesBackFlagsAndPicture) {
  espacio.datos() = imagenAleatoria(30, 25, 3);
  calcularHistograma(espacio.datos());
  espacio.datos().pixeles.setNegro(0, 0, true);
  int guardados = 0;
  int restaurados = 0;
  const EspacioTrabajo::Instantanea dibujo{[&] { ++guardados; }, [&] { ++restaurados; }};
  for (const char* id : {"moving", "regional", "relajacion"}) {
    SCOPED_TRACE(id);
    EntornoCancelado entorno(espacio.datos());
    entorno.setTexto("CPct", "15");
    entorno.setTexto("MetRelajacion", "Rosenfeld");
    EXPECT_EQ(espacio.ejecutar(*metodoPorId(id), entorno, false, &dibujo), Fin::Cancelado);
    EXPECT_TRUE(espacio.datos().pixeles.negro(0, 0));
    EXPECT_FALSE(espacio.datos().pixeles.negro(1, 0));
  }
  EXPECT_EQ(guardados, 3);
  EXPECT_EQ(restaurados, 3);
  // A finished run keeps what it drew.
  EntornoSimple entorno(espacio.datos());
  entorno.setTexto("CPct", "15");
  EXPECT_EQ(espacio.ejecutar(*metodoPorId("moving"), entorno, false, &dibujo), Fin::Dibujado);
  EXPECT_EQ(restaurados, 3);
}

TEST_F(Espacio, TheManualThresholdBinarizesStraightOrStepByStep) {
  espacio.abrir(picture);
  espacio.fijarUmbral(41);
  EntornoSimple entorno(espacio.datos(), "SN");
  EXPECT_EQ(espacio.ejecutar(*metodoPorId("umbral"), entorno, true), Fin::Dibujado);
  EXPECT_EQ(entorno.dialogos().mensajes().size(), 2u);
  EXPECT_EQ(binarizada.leerColor(1, 0), kNegro);
  EXPECT_EQ(binarizada.leerColor(1, 1), kBlanco);
  espacio.fijarUmbral(0);
  EXPECT_EQ(espacio.ejecutar(*metodoPorId("umbral"), entorno, false), Fin::Dibujado);
  EXPECT_EQ(binarizada.leerColor(1, 0), kBlanco);
  EXPECT_TRUE(espacio.habilitados().guardarBinarizada);
}

// A reference of any size is kept while no picture is open, and scores only a picture of its
// size; with a picture open, one of another size is refused and the previous one kept.
TEST_F(Espacio, TheReferenceMustMatchThePicturesSize) {
  EXPECT_EQ(espacio.fijarReferencia(SuperficieGrabadora(3, 2, kNegro, true), "a.png"), "");
  const std::shared_ptr<const Referencia> primera = espacio.referencia();
  EXPECT_EQ(primera->clase, std::vector<uint8_t>(6, 1));
  const uint8_t blanco[8] = {255, 255, 255, 255, 255, 255, 255, 255};
  EXPECT_EQ(evaluarContra(*primera, blanco, 4, 4, 2).error,
            "La referencia mide 3x2 píxeles y la imagen 4x2: deben tener el mismo tamaño.");
  EXPECT_EQ(evaluarContra(*primera, blanco, 4, 3, 2).evaluacion.fn, 6);
  espacio.abrir(picture);
  EXPECT_EQ(espacio.fijarReferencia(SuperficieGrabadora(3, 2, kNegro, true), "b.png"),
            "La referencia mide 3x2 píxeles y la imagen 4x2: deben tener el mismo tamaño.");
  EXPECT_EQ(espacio.referencia(), primera);
  EXPECT_EQ(espacio.fijarReferencia(picture, "c.png"), "");
  EXPECT_EQ(espacio.referencia()->clase, (std::vector<uint8_t>{1, 1, 1, 1, 0, 0, 0, 0}));
}

// The catalogue itself: every name the window, the command line and the comparison look a
// row up by is unique, every panel of the Generacion menu has its frame, and every typed
// control has an initial text and a command-line option that fills it.
TEST(Catalogo, NamesAreUniqueAndEveryControlIsReachable) {
  std::set<std::string> nombres;
  std::set<int> paneles;
  for (const MetodoCatalogo& m : catalogo()) {
    SCOPED_TRACE(m.id);
    EXPECT_TRUE(nombres.insert(m.id).second);
    EXPECT_EQ(metodoPorId(m.id), &m);
    if (m.panel < 0) continue;
    for (const char* nombre : {m.marco, m.lista, m.botonEjecutar})
      EXPECT_TRUE(nombres.insert(nombre).second) << nombre;
    EXPECT_EQ(metodoPorBoton(m.botonEjecutar), &m);
    EXPECT_EQ(m.tienePaso(), m.textoPaso != nullptr);
    EXPECT_TRUE(m.panel == 0 ? m.pestana >= 0 : paneles.insert(m.panel).second);
    for (const ControlMetodo& c : m.controles) {
      EXPECT_STRNE(c.inicial, "");
      EXPECT_EQ(std::string(textoInicial(c.nombre)), c.inicial);
      bool leida = false;
      for (const OpcionMetodo& o : m.opciones)
        for (const char* control : o.controles) leida = leida || std::string(control) == c.nombre;
      EXPECT_TRUE(leida) << c.nombre;
    }
    EXPECT_FALSE(m.mosaicos.empty());
  }
  EXPECT_EQ(paneles, (std::set<int>{1, 2, 3, 4, 5, 6, 7, 8, 9}));
  EXPECT_EQ(metodoPorBoton("nada"), nullptr);
}

}  // namespace
}  // namespace velarno
