// Runs velarno-cli over every file of the public picture suites, one process a file, so that
// a crash, a hang or a picture that decodes differently from one run to the next is caught.

#include <algorithm>
#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include <QByteArray>
#include <QCryptographicHash>
#include <QElapsedTimer>
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
constexpr bool kCompararPerturbado = false;
#else
constexpr int kVigilanciaMs = 30000;
constexpr bool kCompararPerturbado = true;
#endif
constexpr int kEnParalelo = 2;
constexpr int kGrupos = 10;

// Every file of the suites, in a fixed order; empty when the suites are absent.
const std::vector<fs::path>& ficherosDePrueba() {
  static const std::vector<fs::path> ficheros = [] {
    std::vector<fs::path> lista;
    std::error_code error;
    const fs::path raiz(VELARNO_TESTDATA);
    if (!fs::is_directory(raiz, error)) return lista;
    for (fs::recursive_directory_iterator it(raiz, error), fin; !error && it != fin;
         it.increment(error)) {
      if (it->is_regular_file(error)) lista.push_back(it->path());
    }
    std::sort(lista.begin(), lista.end());
    return lista;
  }();
  return ficheros;
}

struct Corrida {
  fs::path fichero;
  int codigo = -1;  // exit status; -1 when the process crashed or was stopped
  bool colgado = false;
  std::string err;
  QByteArray huella;  // hash of the grey picture written, when it opened
  qint64 ms = 0;
};

// Runs `velarno-cli umbral FICHERO --gris SALIDA` for each file, kEnParalelo at a time, with
// MALLOC_PERTURB_ set to `perturbacion` (0: unset). A process that outlives the watchdog is
// killed and reported as hung.
std::vector<Corrida> correr(const std::vector<fs::path>& ficheros, int perturbacion,
                            const QTemporaryDir& dir) {
  struct Ranura {
    std::unique_ptr<QProcess> proceso;
    size_t indice = 0;
    QElapsedTimer reloj;
  };
  std::vector<Corrida> corridas(ficheros.size());
  std::vector<Ranura> ranuras(kEnParalelo);
  QProcessEnvironment entorno = QProcessEnvironment::systemEnvironment();
  if (perturbacion != 0) entorno.insert("MALLOC_PERTURB_", QString::number(perturbacion));
  const auto salida = [&dir](size_t indice) {
    return dir.filePath(QString("gris_%1.pgm").arg(indice));
  };

  size_t siguiente = 0, terminadas = 0;
  while (terminadas < ficheros.size()) {
    for (Ranura& r : ranuras) {
      if (!r.proceso && siguiente < ficheros.size()) {
        r.indice = siguiente++;
        QFile::remove(salida(r.indice));
        r.proceso = std::make_unique<QProcess>();
        r.proceso->setProcessEnvironment(entorno);
        r.reloj.start();
        r.proceso->start(QStringLiteral(VELARNO_CLI),
                         {"umbral", QString::fromStdString(ficheros[r.indice].string()), "--gris",
                          salida(r.indice)});
      }
      if (!r.proceso) continue;
      Corrida& c = corridas[r.indice];
      const bool terminado = r.proceso->waitForFinished(10);
      if (!terminado && r.reloj.elapsed() < kVigilanciaMs) continue;
      c.fichero = ficheros[r.indice];
      c.ms = r.reloj.elapsed();
      if (!terminado) {
        c.colgado = true;
        r.proceso->kill();
        r.proceso->waitForFinished(5000);
      } else if (r.proceso->exitStatus() == QProcess::NormalExit) {
        c.codigo = r.proceso->exitCode();
      }
      c.err = r.proceso->readAllStandardError().toStdString();
      QFile gris(salida(r.indice));
      if (c.codigo == 0 && gris.open(QIODevice::ReadOnly)) {
        c.huella = QCryptographicHash::hash(gris.readAll(), QCryptographicHash::Sha1).toHex();
        gris.close();
      }
      QFile::remove(salida(r.indice));
      r.proceso.reset();
      ++terminadas;
    }
  }
  return corridas;
}

bool enBmpsuiteBuenos(const fs::path& fichero) {
  return fichero.parent_path().filename() == "g" &&
         fichero.parent_path().parent_path().filename() == "bmpsuite";
}

// The files are dealt into kGrupos groups (one test each, so that every test stays well within
// CTest's time-out also under the sanitizers).
class SuitesDePrueba : public ::testing::TestWithParam<int> {};

TEST_P(SuitesDePrueba, EachFileOpensDeterministicallyOrIsRefusedByName) {
  if (ficherosDePrueba().empty()) GTEST_SKIP() << "no test pictures at " << VELARNO_TESTDATA;
  std::vector<fs::path> ficheros;
  for (size_t i = static_cast<size_t>(GetParam()); i < ficherosDePrueba().size(); i += kGrupos)
    ficheros.push_back(ficherosDePrueba()[i]);
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());

  const std::vector<Corrida> corridas = correr(ficheros, kCompararPerturbado ? 17 : 0, dir);
  int abiertos = 0;
  const Corrida* masLenta = nullptr;
  std::vector<fs::path> abiertosFicheros;
  for (const Corrida& c : corridas) {
    SCOPED_TRACE(c.fichero.string());
    EXPECT_FALSE(c.colgado) << "still running after " << kVigilanciaMs / 1000 << " s";
    EXPECT_TRUE(c.codigo == 0 || c.codigo == 3) << "exit " << c.codigo << ": " << c.err;
    if (c.codigo == 3) {
      const std::string nombre = "«" + c.fichero.filename().string() + "»";
      EXPECT_NE(c.err.find(nombre), std::string::npos) << c.err;
    }
    if (enBmpsuiteBuenos(c.fichero)) {
      EXPECT_EQ(c.codigo, 0) << c.err;
    }
    if (c.codigo != 0) continue;
    EXPECT_FALSE(c.huella.isEmpty()) << "no grey picture written";
    ++abiertos;
    abiertosFicheros.push_back(c.fichero);
    if (!masLenta || c.ms > masLenta->ms) masLenta = &c;
  }
  std::cout << ficheros.size() << " files, " << abiertos << " open";
  if (masLenta) std::cout << "; slowest open " << masLenta->ms << " ms: " << masLenta->fichero;
  std::cout << '\n';

  if (!kCompararPerturbado) return;
  // The same files again with other garbage in fresh memory: the grey pictures must not change.
  const std::vector<Corrida> otra = correr(abiertosFicheros, 200, dir);
  size_t j = 0;
  for (const Corrida& c : corridas) {
    if (c.codigo != 0) continue;
    SCOPED_TRACE(c.fichero.string());
    EXPECT_EQ(otra[j].codigo, 0) << otra[j].err;
    EXPECT_EQ(otra[j].huella.toStdString(), c.huella.toStdString());
    ++j;
  }
}

INSTANTIATE_TEST_SUITE_P(Grupos, SuitesDePrueba, ::testing::Range(0, kGrupos));

}  // namespace
