// The logo over the preview's video area while nothing plays: a screen with
// a play mark over a deep blue field, a sound wave beneath it and the
// product's name.

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "Artwork.h"

namespace sonvarro::artwork {
namespace {

const QColor kDeep(0x0b, 0x1d, 0x3a);
const QColor kSea(0x13, 0x4a, 0x72);
const QColor kSky(0x3f, 0xa7, 0xd6);
const QColor kAmber(0xff, 0xa6, 0x3c);
const QColor kPaper(0xe8, 0xee, 0xf4);

void DrawScreen(QPainter& p, const QRectF& screen) {
  p.setPen(QPen(kPaper, 2));
  p.setBrush(QColor(0x0e, 0x2a, 0x4c));
  p.drawRoundedRect(screen, 6, 6);
  QPainterPath play;
  const QPointF c = screen.center();
  play.moveTo(c + QPointF(-9, -13));
  play.lineTo(c + QPointF(14, 0));
  play.lineTo(c + QPointF(-9, 13));
  play.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(kAmber);
  p.drawPath(play);
}

void DrawWave(QPainter& p, const QRectF& band) {
  const int bars = 31;
  const double step = band.width() / bars;
  QLinearGradient colour(band.topLeft(), band.topRight());
  colour.setColorAt(0.0, kSky);
  colour.setColorAt(1.0, kAmber);
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  for (int bar = 0; bar < bars; ++bar) {
    const double t = static_cast<double>(bar) / (bars - 1);
    const double envelope = 0.2 + 0.8 * std::sin(t * M_PI);
    const double wiggle = 0.5 + 0.5 * std::fabs(std::sin(bar * 1.3) * std::cos(bar * 0.45));
    const double h = band.height() * envelope * wiggle;
    p.drawRoundedRect(QRectF(band.left() + bar * step + step * 0.2, band.center().y() - h / 2, step * 0.6, h), 1.5,
                      1.5);
  }
}

}  // namespace

void DrawLogo(QPainter& p, const QRect& area) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  QLinearGradient field(area.topLeft(), area.bottomRight());
  field.setColorAt(0.0, kDeep);
  field.setColorAt(1.0, kSea);
  p.fillRect(area, field);
  QRadialGradient glow(QPointF(area.center()), area.width() * 0.55);
  glow.setColorAt(0.0, QColor(0x3f, 0xa7, 0xd6, 70));
  glow.setColorAt(1.0, QColor(0x3f, 0xa7, 0xd6, 0));
  p.fillRect(area, glow);

  const double w = area.width();
  DrawScreen(p, QRectF(w / 2 - 36, 18, 72, 50));
  DrawWave(p, QRectF(w * 0.12, 74, w * 0.76, 30));

  QFont name(QStringLiteral("DejaVu Sans"));
  name.setPixelSize(17);
  name.setBold(true);
  name.setStyleStrategy(QFont::PreferAntialias);
  p.setFont(name);
  const QRectF line(0, 110, w, 24);
  const double nameWidth = p.fontMetrics().horizontalAdvance(QStringLiteral("Sonvarro "));
  const double total = nameWidth + p.fontMetrics().horizontalAdvance(QStringLiteral("Converter"));
  const double left = (w - total) / 2;
  p.setPen(Qt::white);
  p.drawText(QRectF(left, line.top(), nameWidth, line.height()), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Sonvarro "));
  p.setPen(kAmber);
  p.drawText(QRectF(left + nameWidth, line.top(), w, line.height()), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Converter"));
}

}  // namespace sonvarro::artwork
