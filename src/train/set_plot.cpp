#include "train/set_plot.h"

#include <QBuffer>
#include <QByteArray>
#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cerrno>
#include <cstdio>
#include <optional>

#include "platform/atomic_file.h"
#include "runs/set_checks.h"
#include "runs/set_drawing.h"
#include "runs/set_identity.h"
#include "runs/set_picture.h"
#include "train/train_text.h"
#include "train/write_reason.h"

namespace {

std::string Text(const char* german) { return QCoreApplication::translate("zarnik-train", german).toStdString(); }

TDrawingTexts Texts() {
  TDrawingTexts t;
  t.title = Text(QT_TRANSLATE_NOOP("zarnik-train", "Alle Läufe: Ablagen je Episode in allen 100 Episoden"));
  t.axisX = Text(QT_TRANSLATE_NOOP("zarnik-train", "Generationen des Platzes"));
  t.axisY = Text(QT_TRANSLATE_NOOP("zarnik-train", "Ablagen je Episode"));
  t.place = Text(QT_TRANSLATE_NOOP("zarnik-train", "Lauf %1"));
  t.goal = Text(QT_TRANSLATE_NOOP("zarnik-train", "Ziel %1"));
  t.median = Text(QT_TRANSLATE_NOOP("zarnik-train", "Median"));
  t.spread = Text(QT_TRANSLATE_NOOP("zarnik-train", "mittlere Hälfte"));
  t.restart = Text(QT_TRANSLATE_NOOP("zarnik-train", "Neustart"));
  t.copy = Text(QT_TRANSLATE_NOOP("zarnik-train", "Kopie eines Besten"));
  return t;
}

QColor Color(const TShape& s) { return QColor(s.color.r, s.color.g, s.color.b, static_cast<int>(s.opacity * 255 + 0.5)); }

void Paint(QPainter& painter, const TShape& s) {
  QPolygonF points;
  for (const TXY& p : s.points) points << QPointF(p.x, p.y);
  switch (s.kind) {
    case TShape::TKind::Line: {
      QPen pen(Color(s), s.width, s.dashed ? Qt::DashLine : Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
      painter.setPen(pen);
      painter.setBrush(Qt::NoBrush);
      painter.drawPolyline(points);
      break;
    }
    case TShape::TKind::Area:
      painter.setPen(Qt::NoPen);
      painter.setBrush(Color(s));
      painter.drawPolygon(points);
      break;
    case TShape::TKind::Ring:
    case TShape::TKind::Dot:
      painter.setPen(s.kind == TShape::TKind::Ring ? QPen(Color(s), s.width) : QPen(Qt::NoPen));
      painter.setBrush(s.kind == TShape::TKind::Ring ? QColor(Qt::white) : Color(s));
      painter.drawEllipse(points[0], s.radius, s.radius);
      break;
    case TShape::TKind::Text: {
      QFont font(QStringLiteral("DejaVu Sans"));
      font.setPixelSize(static_cast<int>(s.size + 0.5));
      painter.setFont(font);
      painter.setPen(Color(s));
      const QString text = QString::fromStdString(s.text);
      const double width = QFontMetricsF(font).horizontalAdvance(text);
      const double shift = s.align < 0 ? 0 : s.align == 0 ? -width / 2 : -width;
      painter.save();
      painter.translate(points[0]);
      if (s.upright) painter.rotate(-90);
      painter.drawText(QPointF(shift, 0), text);
      painter.restore();
      break;
    }
  }
}

QByteArray Png(const TDrawing& d) {
  QImage image(d.width, d.height, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    for (const TShape& s : d.shapes) Paint(painter, s);
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes;
}

bool Svg(const std::string& name) { return QFileInfo(QString::fromLatin1(name.c_str())).suffix().toLower() == "svg"; }

}  // namespace

bool RefusePlotName(const TTrainOptions& o) {
  if (o.plot.empty()) return false;
  if (RefuseTaken(o.plot)) return true;
  if (const int error = CheckWritable(o.plot.c_str(), true)) {
    ReportWriteFailure(o.plot, error);
    return true;
  }
  return false;
}

bool WriteSetPlot(const TTrainOptions& o) {
  std::vector<TSetCheck> checks;
  if (!ReadSetChecks(o.file, checks)) {
    const int error = errno;  // before the name is built
    ReportUnreadable(SetChecksFileName(o.file), error);
    return false;
  }
  const TDrawing drawing = DrawSetPicture(GatherSetPicture(checks, o.runs, o.untilDeliveries), Texts());
  QByteArray bytes;
  if (Svg(o.plot)) {
    const std::string svg = DrawingToSvg(drawing);
    bytes = QByteArray(svg.data(), static_cast<qsizetype>(svg.size()));
  } else {
    bytes = Png(drawing);
  }
  if (!bytes.isEmpty() && WriteNewFileAtomically(o.plot.c_str(), bytes.constData(), static_cast<size_t>(bytes.size())))
    return true;
  ReportWriteFailure(o.plot, bytes.isEmpty() ? EIO : errno);
  return false;
}
