// Test entry for the window's suites: Qt's offscreen platform, the Spanish Qt texts, one
// QApplication for all tests.
#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

#include "shell/dialogos_qt.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  QApplication aplicacion(argc, argv);
  velarno::configurarAplicacion();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
