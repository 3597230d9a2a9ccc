// Test entry for the window's suites: Qt's offscreen platform unless another is asked for (the
// X11 suite runs on xcb), the Spanish Qt texts, one QApplication for all tests.
#include <QApplication>
#include <QByteArray>

#include <gtest/gtest.h>

#include "shell/dialogos_qt.h"

int main(int argc, char** argv) {
  if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
    qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  QApplication aplicacion(argc, argv);
  velarno::configurarAplicacion();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
