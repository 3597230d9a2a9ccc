// The step-by-step binarization: prompts down each column, redrawing from a white start.
#include "methods/binarizacion_paso.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "methods/dialogos_guion.h"
#include "support/imagen_prueba.h"
#include "support/superficie_grabadora.h"

namespace velarno {
namespace {

// Keeps the binarized picture as it was at every redraw, 'N' black and 'B' white, raster in
// row order, one line per redraw.
class SuperficieFotos : public SuperficieGrabadora {
 public:
  using SuperficieGrabadora::SuperficieGrabadora;
  void escribirBlancoNegro(const uint8_t* negro, size_t paso, int32_t ancho,
                           int32_t alto) override {
    SuperficieGrabadora::escribirBlancoNegro(negro, paso, ancho, alto);
    for (uint8_t v : rojos()) fotos += v == 0 ? 'N' : 'B';
    fotos += '\n';
  }
  std::string fotos;
};

std::string preguntas(const DialogosGuion& d) {
  std::string s;
  for (const Mensaje& m : d.mensajes())
    s += m.titulo + "|" + m.texto + "|" + std::to_string(m.estilo) + "\n";
  return s;
}

std::string pregunta(int x, int y, int g, const char* palabra) {
  return "Segmentar paso a paso|Nivel de gris del punto (" + std::to_string(x) + "," +
         std::to_string(y) + "): " + std::to_string(g) + "\rSerá convertido a: " + palabra +
         "\r\r¿Seguir ejecución paso a paso?|4\n";
}

// A 2 x 2 picture, rows {128, 3} and {200, 100}, threshold 128; the picture is drawn white
// before the first prompt, then after every answer. A No ends the prompts and the drawing, and
// every pixel is still decided.
TEST(BinarizarPasoAPaso, AsksDownEachColumnAndRedrawsAfterEveryAnswer) {
  const std::string dos = pregunta(0, 0, 128, "Blanco") + pregunta(0, 1, 200, "Blanco");
  for (const char* respuestas : {"SSSS", "SN"}) {
    DatosImagen imagen = imagenDesdeFilas({{128, 3}, {200, 100}});
    imagen.pixeles.setNegro(1, 1, true);  // whitened before the first prompt
    DialogosGuion dialogos(respuestas);
    SuperficieFotos destino(2, 2, rgb(7, 7, 7));
    bool paso = true;
    int dibujos = 0;
    binarizar(imagen, 128, paso, dialogos, destino, [&] { ++dibujos; });
    const bool todo = respuestas[1] == 'S';
    EXPECT_EQ(paso, todo);
    EXPECT_EQ(preguntas(dialogos),
              todo ? dos + pregunta(1, 0, 3, "Negro") + pregunta(1, 1, 100, "Negro") : dos);
    EXPECT_EQ(destino.fotos, todo ? "BBBB\nBBBB\nBBBB\nBNBB\nBNBN\n" : "BBBB\nBBBB\nBBBB\n");
    EXPECT_EQ(dibujos, todo ? 5 : 3);
    EXPECT_EQ(planoNegro(imagen), (std::vector<uint8_t>{0, 1, 0, 1}));
  }
}

}  // namespace
}  // namespace velarno
