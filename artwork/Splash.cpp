// The splash picture: the product's name over a deep blue field, with a
// strip of film turning into a sound wave and a note.

#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>

#include "Artwork.h"

namespace sonvarro::artwork {
namespace {

QFont Font(int pixels, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

void DrawBackground(QPainter& p, const QRect& area) {
  QLinearGradient field(area.topLeft(), area.bottomRight());
  field.setColorAt(0.0, QColor(0x0b, 0x1d, 0x3a));
  field.setColorAt(1.0, QColor(0x13, 0x4a, 0x72));
  p.fillRect(area, field);
  // A soft glow behind the wave.
  QRadialGradient glow(QPointF(area.width() * 0.62, area.height() * 0.66), area.width() * 0.45);
  glow.setColorAt(0.0, QColor(0x3f, 0xa7, 0xd6, 90));
  glow.setColorAt(1.0, QColor(0x3f, 0xa7, 0xd6, 0));
  p.fillRect(area, glow);
  // Rings in the upper right corner.
  p.setBrush(Qt::NoBrush);
  for (int ring = 0; ring < 4; ++ring) {
    p.setPen(QPen(QColor(255, 255, 255, 18 + ring * 6), 2));
    const int r = 70 + ring * 38;
    p.drawEllipse(QPoint(area.right() - 30, area.top() + 20), r, r);
  }
}

void DrawFilmStrip(QPainter& p, const QRect& frame) {
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xe8, 0xee, 0xf4));
  p.drawRoundedRect(frame, 6, 6);
  p.setBrush(QColor(0x0b, 0x1d, 0x3a));
  for (int hole = 0; hole < 5; ++hole) {
    const int y = frame.top() + 8 + hole * (frame.height() - 16) / 4 - 4;
    p.drawRect(frame.left() + 5, y, 7, 8);
    p.drawRect(frame.right() - 11, y, 7, 8);
  }
  p.setBrush(QColor(0x3f, 0xa7, 0xd6));
  p.drawRect(frame.adjusted(17, 8, -17, -8));
  // A play mark in the picture area.
  QPainterPath play;
  const QPointF c = QRectF(frame).center();
  play.moveTo(c + QPointF(-7, -10));
  play.lineTo(c + QPointF(10, 0));
  play.lineTo(c + QPointF(-7, 10));
  play.closeSubpath();
  p.setBrush(QColor(0xe8, 0xee, 0xf4));
  p.drawPath(play);
}

void DrawWave(QPainter& p, const QRect& band) {
  const int bars = 26;
  const double step = static_cast<double>(band.width()) / bars;
  QLinearGradient colour(band.topLeft(), band.topRight());
  colour.setColorAt(0.0, QColor(0x3f, 0xa7, 0xd6));
  colour.setColorAt(1.0, QColor(0xff, 0xa6, 0x3c));
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  for (int bar = 0; bar < bars; ++bar) {
    const double t = static_cast<double>(bar) / (bars - 1);
    const double envelope = 0.25 + 0.75 * std::sin(t * M_PI);
    const double wiggle = 0.55 + 0.45 * std::fabs(std::sin(bar * 1.7) * std::cos(bar * 0.6));
    const double h = band.height() * envelope * wiggle;
    const QRectF r(band.left() + bar * step + step * 0.2, band.center().y() - h / 2, step * 0.6, h);
    p.drawRoundedRect(r, step * 0.3, step * 0.3);
  }
}

}  // namespace

void DrawSplash(QPainter& p, const QRect& area) {
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  DrawBackground(p, area);

  p.setPen(Qt::white);
  p.setFont(Font(36, true));
  p.drawText(QRect(32, 40, area.width() - 64, 48), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Sonvarro"));
  p.setPen(QColor(0xff, 0xa6, 0x3c));
  p.drawText(QRect(32, 84, area.width() - 64, 48), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Converter"));
  p.setPen(QColor(0xb8, 0xcc, 0xdf));
  p.setFont(Font(13, false));
  p.drawText(QRect(34, 134, area.width() - 64, 20), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Video and audio to AMR, AAC, MP3, AC3, M4A, OGG and WAV"));

  DrawFilmStrip(p, QRect(34, 176, 64, 62));
  DrawWave(p, QRect(112, 172, 280, 70));
  p.setPen(QColor(0xff, 0xa6, 0x3c));
  p.setFont(Font(54, true));
  p.drawText(QRect(396, 166, 60, 80), Qt::AlignCenter, QString(QChar(0x266B)));

  p.setPen(QColor(0x8f, 0xa9, 0xc4));
  p.setFont(Font(11, false));
  p.drawText(QRect(34, area.height() - 34, 200, 20), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Quorvane Soft"));
  p.drawText(QRect(area.width() - 234, area.height() - 34, 200, 20), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("Starting\u2026"));
  // A thin frame, as the borderless window has none of its own.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x5b, 0x7f, 0xa6), 1));
  p.drawRect(area.adjusted(0, 0, -1, -1));
}

}  // namespace sonvarro::artwork
