#include "qt/EmbeddedFaces.h"

#include <QFile>
#include <QFontDatabase>
#include <QtDebug>

#include "window/Font.h"

namespace vexilo {

EmbeddedFaces::EmbeddedFaces() {
  for (const EmbeddedFace& face : kEmbeddedFaces) {
    const QString path =
        QStringLiteral(":/faces/") +
        QString::fromLatin1(face.resource.data(), static_cast<qsizetype>(face.resource.size()));
    QFile file(path);
    // A face that cannot be read leaves its labels to the system's faces; the board still works.
    const int id = file.open(QIODevice::ReadOnly)
                       ? QFontDatabase::addApplicationFontFromData(file.readAll())
                       : -1;
    if (id < 0) qWarning("The face %s could not be registered.", qPrintable(path));
    ids_.push_back(id);
  }
}

EmbeddedFaces::~EmbeddedFaces() {
  for (const int id : ids_) {
    if (id >= 0) QFontDatabase::removeApplicationFont(id);
  }
}

QStringList EmbeddedFaces::Families() const {
  QStringList families;
  for (const int id : ids_) families << QFontDatabase::applicationFontFamilies(id).join(u',');
  return families;
}

}  // namespace vexilo
