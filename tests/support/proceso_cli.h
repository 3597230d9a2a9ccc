#pragma once

#include <string>

#include <QProcess>
#include <QStringList>

namespace velarno {

// What a run of the built velarno-cli gave: its exit status (-1 when it crashed or hung) and
// its output streams.
struct Salida {
  int codigo = -1;
  std::string out, err;
};

inline Salida correr(const QStringList& argumentos) {
  QProcess proceso;
  proceso.start(QStringLiteral(VELARNO_CLI), argumentos);
  if (!proceso.waitForFinished(120000) || proceso.exitStatus() != QProcess::NormalExit) return {};
  return {proceso.exitCode(), proceso.readAllStandardOutput().toStdString(),
          proceso.readAllStandardError().toStdString()};
}

}  // namespace velarno
