// Runs velarno-cli over every file of the public picture suites, one process a file, so that
// a crash, a hang or a picture that decodes differently from one run to the next, or with the
// streaming grey reader and decoded whole, is caught.
// The files are dealt into kGrupos tests, which ctest runs side by side and which each stay
// well within its time-out, also under the sanitizers.

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include <QByteArray>
#include <QCryptographicHash>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

#ifdef VELARNO_SANITIZADO
constexpr int kVigilanciaMs = 90000;
constexpr bool kCompararPerturbado = false;  // AddressSanitizer replaces malloc
#else
constexpr int kVigilanciaMs = 30000;
constexpr bool kCompararPerturbado = true;
#endif
constexpr int kGrupos = 10;

// Every file of the suites, in a fixed order; empty when the suites are absent.
const std::vector<fs::path>& ficherosDePrueba() {
  static const std::vector<fs::path> ficheros = [] {
    std::vector<fs::path> lista;
    std::error_code error;
    if (!fs::is_directory(VELARNO_TESTDATA, error)) return lista;
    for (fs::recursive_directory_iterator it(VELARNO_TESTDATA, error), fin; !error && it != fin;
         it.increment(error))
      if (it->is_regular_file(error)) lista.push_back(it->path());
    std::sort(lista.begin(), lista.end());
    return lista;
  }();
  return ficheros;
}

struct Corrida {
  int codigo = -1;  // exit status; -1 when the process crashed or was stopped
  bool colgado = false;
  std::string err;
  QByteArray huella;  // hash of the grey picture written, when it opened
};

// `velarno-cli umbral FICHERO --gris SALIDA` with MALLOC_PERTURB_ set to `perturbacion` (0:
// off), every picture decoded whole when `entera`. A process that outlives the watchdog is
// killed and reported as hung.
Corrida correr(const fs::path& fichero, int perturbacion, const QString& salida, bool entera) {
  QFile::remove(salida);
  QProcess proceso;
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  entorno.insert("MALLOC_PERTURB_", QString::number(perturbacion));
  if (entera) entorno.insert("VELARNO_PRUEBA_DECODIFICAR_ENTERA", "1");
  proceso.setProcessEnvironment(entorno);
  proceso.start(QStringLiteral(VELARNO_CLI),
                {"umbral", QString::fromStdString(fichero.string()), "--gris", salida});
  Corrida c;
  if (!proceso.waitForFinished(kVigilanciaMs)) {
    c.colgado = true;
    proceso.kill();
    proceso.waitForFinished(5000);
  } else if (proceso.exitStatus() == QProcess::NormalExit) {
    c.codigo = proceso.exitCode();
  }
  c.err = proceso.readAllStandardError().toStdString();
  QFile gris(salida);
  if (c.codigo == 0 && gris.open(QIODevice::ReadOnly))
    c.huella = QCryptographicHash::hash(gris.readAll(), QCryptographicHash::Sha1).toHex();
  return c;
}

class SuitesDePrueba : public ::testing::TestWithParam<int> {};

TEST_P(SuitesDePrueba, EachFileOpensDeterministicallyOrIsRefusedByName) {
  const std::vector<fs::path>& todos = ficherosDePrueba();
  if (todos.empty()) GTEST_SKIP() << "no test pictures at " << VELARNO_TESTDATA;
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString salida = dir.filePath("gris.pgm");
  int ficheros = 0, abiertos = 0;
  for (size_t i = static_cast<size_t>(GetParam()); i < todos.size(); i += kGrupos, ++ficheros) {
    const fs::path& fichero = todos[i];
    SCOPED_TRACE(fichero.string());
    const Corrida c = correr(fichero, kCompararPerturbado ? 17 : 0, salida, false);
    EXPECT_FALSE(c.colgado) << "still running after " << kVigilanciaMs / 1000 << " s";
    EXPECT_TRUE(c.codigo == 0 || c.codigo == 3) << "exit " << c.codigo << ": " << c.err;
    const std::string nombre = "«" + fichero.filename().string() + "»";
    EXPECT_TRUE(c.codigo != 3 || c.err.find(nombre) != std::string::npos) << c.err;
    // bmpsuite's g/ folder holds the files every reader must open.
    EXPECT_TRUE(c.codigo == 0 || fichero.parent_path().filename() != "g" ||
                fichero.parent_path().parent_path().filename() != "bmpsuite")
        << c.err;
    // The same file decoded whole, with other garbage in fresh memory: the same refusal or
    // the same grey picture.
    const Corrida entera = correr(fichero, kCompararPerturbado ? 200 : 0, salida, true);
    EXPECT_EQ(entera.codigo, c.codigo);
    EXPECT_EQ(entera.err, c.err);
    EXPECT_EQ(entera.huella, c.huella);
    if (c.codigo != 0) continue;
    ++abiertos;
    EXPECT_FALSE(c.huella.isEmpty()) << "no grey picture written";
  }
  std::cout << ficheros << " files, " << abiertos << " open\n";
}

INSTANTIATE_TEST_SUITE_P(Grupos, SuitesDePrueba, ::testing::Range(0, kGrupos));

}  // namespace
