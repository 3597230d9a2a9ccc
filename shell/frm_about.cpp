#include "shell/frm_about.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace velarno {
namespace {

QLabel* etiqueta(const QString& nombre, const QString& texto, double puntos, QWidget* padre) {
  auto* label = new QLabel(texto, padre);
  label->setObjectName(nombre);
  QFont fuente(QStringLiteral("Arial"));
  fuente.setPointSizeF(puntos);
  fuente.setBold(true);
  label->setFont(fuente);
  return label;
}

QFrame* linea(const QColor& color, QWidget* padre) {
  auto* l = new QFrame(padre);
  l->setFixedHeight(1);
  l->setAutoFillBackground(true);
  QPalette paleta = l->palette();
  paleta.setColor(QPalette::Window, color);
  l->setPalette(paleta);
  return l;
}

}  // namespace

FrmAbout::FrmAbout(QWidget* duenio) : QDialog(duenio) {
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(QStringLiteral("Acerca de Velarno"));
  setModal(true);
  setAttribute(Qt::WA_DeleteOnClose);

  auto* icono = new QLabel(this);
  icono->setObjectName(QStringLiteral("picIcon"));
  icono->setPixmap(QPixmap(QStringLiteral(":/icono.png")));
  icono->setFixedSize(32, 32);

  auto* textos = new QVBoxLayout;
  textos->addWidget(etiqueta(QStringLiteral("lblTitle"), QStringLiteral("Velarno"), 14.25, this));
  textos->addWidget(etiqueta(QStringLiteral("lblCreadopor"),
                             QStringLiteral("Diseño: el equipo de Velarno"), 9.75, this));
  textos->addWidget(etiqueta(QStringLiteral("Label1"),
                             QStringLiteral("Programación: el equipo de Velarno"), 9.75, this));
  textos->addWidget(etiqueta(QStringLiteral("Label2"),
                             QStringLiteral("Pruebas: el equipo de Velarno"), 9.75, this));
  textos->addWidget(etiqueta(QStringLiteral("Label3"),
                             QStringLiteral("Documentación: el equipo de Velarno"), 9.75, this));

  auto* cabecera = new QHBoxLayout;
  cabecera->addWidget(icono, 0, Qt::AlignTop);
  cabecera->addSpacing(12);
  cabecera->addLayout(textos);

  auto* aceptar = new QPushButton(QStringLiteral("Aceptar"), this);
  aceptar->setObjectName(QStringLiteral("cmdOK"));
  aceptar->setDefault(true);
  connect(aceptar, &QPushButton::clicked, this, &QDialog::accept);

  auto* pie = new QHBoxLayout;
  pie->addStretch();
  pie->addWidget(aceptar);

  auto* todo = new QVBoxLayout(this);
  todo->addLayout(cabecera);
  todo->addSpacing(10);
  todo->addWidget(linea(QColor(128, 128, 128), this));
  todo->addWidget(linea(Qt::white, this));
  todo->addLayout(pie);
  setFixedSize(sizeHint());
}

}  // namespace velarno
