// The program's icon for the desktop's menus: the splash's deep blue field
// on a rounded tile, a sound wave from blue to orange across it and a note
// above the wave. Drawn in proportion to the tile, so every size is sharp.

#include <QLinearGradient>
#include <QPainterPath>
#include <cmath>

#include "Artwork.h"

namespace sonvarro::artwork {
namespace {

void DrawTile(QPainter& p, const QRectF& tile) {
  const double radius = tile.width() * 0.2;
  QLinearGradient field(tile.topLeft(), tile.bottomRight());
  field.setColorAt(0.0, QColor(0x13, 0x4a, 0x72));
  field.setColorAt(1.0, QColor(0x0b, 0x1d, 0x3a));
  p.setPen(Qt::NoPen);
  p.setBrush(field);
  p.drawRoundedRect(tile, radius, radius);
  // A lighter rim, so the tile stands out on a dark menu too.
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0x5b, 0x7f, 0xa6), std::max(1.0, tile.width() / 64)));
  p.drawRoundedRect(tile.adjusted(0.5, 0.5, -0.5, -0.5), radius, radius);
}

void DrawWave(QPainter& p, const QRectF& band) {
  const int bars = 9;
  const double step = band.width() / bars;
  QLinearGradient colour(band.topLeft(), band.topRight());
  colour.setColorAt(0.0, QColor(0x3f, 0xa7, 0xd6));
  colour.setColorAt(1.0, QColor(0xff, 0xa6, 0x3c));
  p.setPen(Qt::NoPen);
  p.setBrush(colour);
  for (int bar = 0; bar < bars; ++bar) {
    const double t = (bar + 0.5) / bars;
    const double h = band.height() * (0.3 + 0.7 * std::sin(t * M_PI)) * (bar % 2 ? 0.7 : 1.0);
    const QRectF r(band.left() + bar * step + step * 0.18, band.center().y() - h / 2, step * 0.64, h);
    p.drawRoundedRect(r, step * 0.32, step * 0.32);
  }
}

// A beamed pair of eighth notes, its heads on the line y = base.
void DrawNote(QPainter& p, const QRectF& box) {
  const double w = box.width();
  const double head = w * 0.34;
  const double stem = w * 0.09;
  QPainterPath note;
  note.setFillRule(Qt::WindingFill);
  const QPointF left(box.left() + head / 2, box.bottom() - head * 0.4);
  const QPointF right(box.right() - head / 2, box.bottom() - head * 0.4 - w * 0.12);
  for (const QPointF& centre : {left, right}) {
    note.addEllipse(centre, head / 2, head * 0.38);
    note.addRect(QRectF(centre.x() + head / 2 - stem, box.top() + (centre.y() - left.y()), stem,
                        centre.y() - box.top() - (centre.y() - left.y())));
  }
  // The beam joins the stems' tops.
  QPolygonF beam;
  beam << QPointF(left.x() + head / 2 - stem, box.top()) << QPointF(right.x() + head / 2, box.top() - w * 0.12)
       << QPointF(right.x() + head / 2, box.top() - w * 0.12 + w * 0.16)
       << QPointF(left.x() + head / 2 - stem, box.top() + w * 0.16);
  note.addPolygon(beam);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xe8, 0xee, 0xf4));
  p.drawPath(note);
}

}  // namespace

void DrawIcon(QPainter& p, const QRect& area) {
  p.setRenderHint(QPainter::Antialiasing);
  const double s = area.width();
  const QRectF tile(area.left() + s * 0.04, area.top() + s * 0.04, s * 0.92, s * 0.92);
  DrawTile(p, tile);
  DrawWave(p, QRectF(tile.left() + s * 0.1, tile.top() + s * 0.5, s * 0.72, s * 0.34));
  DrawNote(p, QRectF(tile.left() + s * 0.3, tile.top() + s * 0.16, s * 0.34, s * 0.34));
}

}  // namespace sonvarro::artwork
