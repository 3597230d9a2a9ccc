// The step-by-step binarization: prompts down each column, redrawing from a white start.
#include "methods/binarizacion_paso.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "image/transformaciones.h"
#include "methods/dialogos_guion.h"
#include "support/imagen_prueba.h"
#include "support/superficie_grabadora.h"

namespace velarno {
namespace {

std::vector<uint8_t> negros(const DatosImagen& imagen) {
  const uint8_t* p = imagen.pixeles.planoNegro();
  return {p, p + imagen.pixeles.cantidad()};
}

// Keeps the binarized picture as it was at every redraw.
class SuperficieFotos : public SuperficieGrabadora {
 public:
  using SuperficieGrabadora::SuperficieGrabadora;
  void escribirBlancoNegro(const uint8_t* negro, size_t paso, int32_t ancho,
                           int32_t alto) override {
    SuperficieGrabadora::escribirBlancoNegro(negro, paso, ancho, alto);
    std::string foto;
    for (uint8_t v : rojos()) foto += v == 0 ? 'N' : 'B';
    fotos.push_back(foto);
  }
  std::vector<std::string> fotos;
};

std::string unir(const std::vector<std::string>& v) {
  std::string s;
  for (const auto& l : v) s += (s.empty() ? "" : "\n") + l;
  return s;
}

std::string prompts(const DialogosGuion& d) {
  std::vector<std::string> v;
  for (const Mensaje& m : d.mensajes())
    v.push_back(m.titulo + "|" + m.texto + "|" + std::to_string(m.estilo));
  return unir(v);
}

std::string pregunta(int x, int y, int g, const char* palabra) {
  return "Segmentar paso a paso|Nivel de gris del punto (" + std::to_string(x) + "," +
         std::to_string(y) + "): " + std::to_string(g) + "\rSerá convertido a: " + palabra +
         "\r\r¿Seguir ejecución paso a paso?|4";
}

// A 2 x 2 picture, rows {128, 3} and {200, 100}, threshold 128; all four prompts answered Yes.
// The picture is drawn white before the first prompt, then after every answer.
TEST(BinarizarPasoAPaso, AsksDownEachColumnAndRedrawsAfterEveryAnswer) {
  DatosImagen imagen = imagenDesdeFilas({{128, 3}, {200, 100}});
  imagen.pixeles.setNegro(1, 1, true);  // whitened before the first prompt
  DialogosGuion dialogos("SSSS");
  SuperficieFotos destino(2, 2, rgb(7, 7, 7));
  bool paso = true;
  int dibujos = 0;
  binarizar(imagen, 128, paso, dialogos, destino, [&] { ++dibujos; });
  EXPECT_TRUE(paso);
  EXPECT_EQ(dibujos, 5);
  EXPECT_EQ(prompts(dialogos), unir({pregunta(0, 0, 128, "Blanco"), pregunta(0, 1, 200, "Blanco"),
                                     pregunta(1, 0, 3, "Negro"), pregunta(1, 1, 100, "Negro")}));
  // Raster in row order: (0,0) (1,0) (0,1) (1,1).
  EXPECT_EQ(unir(destino.fotos), "BBBB\nBBBB\nBBBB\nBNBB\nBNBN");
  EXPECT_EQ(negros(imagen), (std::vector<uint8_t>{0, 1, 0, 1}));
}

// No at the second prompt: no further prompts or drawing, every pixel still decided.
TEST(BinarizarPasoAPaso, NoStopsPromptsAndDrawing) {
  DatosImagen imagen = imagenDesdeFilas({{128, 3}, {200, 100}});
  DialogosGuion dialogos("SN");
  SuperficieFotos destino(2, 2, rgb(7, 7, 7));
  bool paso = true;
  binarizar(imagen, 128, paso, dialogos, destino);
  EXPECT_FALSE(paso);
  EXPECT_EQ(dialogos.mensajes().size(), 2u);
  EXPECT_EQ(unir(destino.fotos), "BBBB\nBBBB\nBBBB");
  EXPECT_EQ(negros(imagen), (std::vector<uint8_t>{0, 1, 0, 1}));
}

// A No on a larger picture ends with the same flags as the straight run.
TEST(BinarizarPasoAPaso, NoFinishesLikeTheStraightRun) {
  DatosImagen pasoAPaso = imagenAleatoria(9, 7, 77);
  DatosImagen recta = pasoAPaso;
  DialogosGuion dialogos("SSSSSSSSSSN");
  SuperficieGrabadora destino(9, 7);
  bool paso = true;
  binarizar(pasoAPaso, 90, paso, dialogos, destino);
  binarizar(recta, 90);
  EXPECT_EQ(dialogos.mensajes().size(), 11u);
  EXPECT_EQ(destino.ordenes().size(), 12u);
  EXPECT_EQ(negros(pasoAPaso), negros(recta));
}

}  // namespace
}  // namespace velarno
