#pragma once

#include <QDialog>

namespace velarno {

// The About box: the system's icon and title, the credits of its team, and "Aceptar".
// Created when shown and destroyed when closed.
class FrmAbout : public QDialog {
  Q_OBJECT
 public:
  explicit FrmAbout(QWidget* duenio);
};

}  // namespace velarno
