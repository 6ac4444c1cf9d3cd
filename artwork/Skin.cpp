// The main window's skin: its background picture, whose transparent margin
// cuts the window's outline, and the bitmap buttons in their three states.
// Colours follow the splash: deep blue fields, light blue and orange accents.

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
const QColor kMist(0xe8, 0xee, 0xf4);

QFont Font(int pixels, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixels);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

// The window's body: rounded, with the round emblem standing out of its top
// edge at the left.
QPainterPath BodyShape() {
  QPainterPath body;
  body.addRoundedRect(QRectF(0, 18, 686, 468), 20, 20);
  QPainterPath emblem;
  emblem.addEllipse(QPointF(32, 40), 27, 27);
  return body.united(emblem);
}

void DrawEmblem(QPainter& p) {
  const QPointF c(32, 40);
  QRadialGradient disc(c + QPointF(-8, -10), 34);
  disc.setColorAt(0.0, QColor(0x5c, 0xc0, 0xea));
  disc.setColorAt(1.0, QColor(0x16, 0x5d, 0x8f));
  p.setPen(QPen(kMist, 2));
  p.setBrush(disc);
  p.drawEllipse(c, 24, 24);
  // A sound wave of five bars.
  p.setPen(Qt::NoPen);
  p.setBrush(kMist);
  const int heights[] = {10, 20, 28, 18, 12};
  for (int bar = 0; bar < 5; ++bar) {
    const double h = heights[bar];
    p.drawRoundedRect(QRectF(c.x() - 15 + bar * 6.5, c.y() - h / 2, 4, h), 2, 2);
  }
  p.setBrush(kAmber);
  p.drawEllipse(c + QPointF(13, 12), 5, 5);
}

// A sunken panel with a soft light edge at its bottom.
void DrawWell(QPainter& p, const QRectF& r, int radius) {
  p.setPen(QPen(QColor(0, 0, 0, 90), 1));
  p.setBrush(QColor(0x07, 0x14, 0x29, 150));
  p.drawRoundedRect(r, radius, radius);
  p.setPen(QPen(QColor(255, 255, 255, 28), 1));
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(r.adjusted(-1, -1, 1, 1), radius + 1, radius + 1);
}

void DrawBody(QPainter& p, const QRect& area) {
  // The body's field, darkening towards the bottom.
  QLinearGradient field(0, 18, 0, area.height());
  field.setColorAt(0.0, QColor(0x1d, 0x45, 0x6d));
  field.setColorAt(0.5, QColor(0x16, 0x37, 0x5a));
  field.setColorAt(1.0, QColor(0x0e, 0x25, 0x41));
  p.fillRect(area, field);
  // The title band.
  QLinearGradient band(0, 18, 0, 66);
  band.setColorAt(0.0, QColor(0x0a, 0x19, 0x31));
  band.setColorAt(1.0, QColor(0x10, 0x30, 0x52));
  p.fillRect(QRect(0, 0, area.width(), 66), band);
  QLinearGradient accent(0, 0, area.width(), 0);
  accent.setColorAt(0.0, kSky);
  accent.setColorAt(0.55, kAmber);
  accent.setColorAt(1.0, QColor(0xff, 0xa6, 0x3c, 60));
  p.fillRect(QRect(0, 66, area.width(), 2), accent);
  // Rings in the upper right corner, as on the splash.
  p.setBrush(Qt::NoBrush);
  for (int ring = 0; ring < 3; ++ring) {
    p.setPen(QPen(QColor(255, 255, 255, 10 + ring * 5), 2));
    const int r = 60 + ring * 34;
    p.drawEllipse(QPoint(area.width() - 20, 150), r, r);
  }

  // The preview's well: video, timeline and transport.
  DrawWell(p, QRectF(14.5, 72.5, 270, 214), 8);
  p.fillRect(QRect(22, 72 + 2, 261, 158), QColor(0x03, 0x0a, 0x16));
  // The links' shelf, with a divider between the web links and help.
  DrawWell(p, QRectF(398.5, 70.5, 276, 54), 10);
  p.setPen(QPen(QColor(255, 255, 255, 40), 1));
  p.drawLine(QPointF(536.5, 78), QPointF(536.5, 118));
  // The list and its buttons.
  DrawWell(p, QRectF(16.5, 286.5, 658, 150), 8);

  // The foot line.
  p.setPen(QColor(0x8f, 0xa9, 0xc4));
  p.setFont(Font(11, false));
  p.drawText(QRect(24, 446, 400, 22), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Video and audio to AMR, AAC, MP3, AC3, M4A, OGG and WAV"));
  p.drawText(QRect(area.width() - 224, 446, 200, 22), Qt::AlignRight | Qt::AlignVCenter,
             QStringLiteral("Quorvane Soft"));
}

// Pixels at least half covered keep their colour (made opaque); the rest
// become the transparent colour: edges stay hard, with no fringe of it.
void Harden(QImage& drawn, QPainter& target, const QColor& transparent) {
  QImage result(drawn.size(), QImage::Format_RGB888);
  result.setDevicePixelRatio(drawn.devicePixelRatio());
  for (int y = 0; y < drawn.height(); ++y) {
    for (int x = 0; x < drawn.width(); ++x) {
      const QColor c = QColor::fromRgba(drawn.pixel(x, y));
      result.setPixelColor(x, y, c.alpha() >= 128 ? QColor(c.red(), c.green(), c.blue()) : transparent);
    }
  }
  target.drawImage(QPointF(0, 0), result);
}

// Draws into an image with an alpha channel, then hardens it onto the target.
// The image has the target's pixels a point, so a picture drawn at twice the
// pixels is hardened at its own pixels, not drawn at one scale and stretched.
template <typename Draw>
void DrawHard(QPainter& target, const QRect& area, const QColor& transparent, Draw draw) {
  const qreal scale = target.device()->devicePixelRatio();
  QImage drawn(area.size() * scale, QImage::Format_ARGB32);
  drawn.setDevicePixelRatio(scale);
  drawn.fill(Qt::transparent);
  {
    QPainter p(&drawn);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    draw(p, QRect(QPoint(0, 0), area.size()));
  }
  Harden(drawn, target, transparent);
}

// -- Buttons ----------------------------------------------------------------

struct Look {
  QColor top, bottom, edge, text;
};

Look LookOf(ButtonState state, bool accent) {
  if (accent) {
    switch (state) {
      case ButtonState::Up:
        return {QColor(0xff, 0xb8, 0x5c), QColor(0xe8, 0x84, 0x22), QColor(0xff, 0xd9, 0xa8), kDeep};
      case ButtonState::Hot: return {QColor(0xff, 0xcc, 0x85), QColor(0xf5, 0x96, 0x33), Qt::white, kDeep};
      case ButtonState::Down:
        return {QColor(0xc9, 0x6c, 0x16), QColor(0xf0, 0x95, 0x3a), QColor(0x8a, 0x4a, 0x0e), kDeep};
    }
  }
  switch (state) {
    case ButtonState::Up:
      return {QColor(0x35, 0x6c, 0x9c), QColor(0x1d, 0x44, 0x6c), QColor(0x6f, 0xa6, 0xcf), Qt::white};
    case ButtonState::Hot:
      return {QColor(0x4a, 0x8e, 0xc6), QColor(0x28, 0x5c, 0x8e), QColor(0xa8, 0xdc, 0xf5), Qt::white};
    case ButtonState::Down:
      return {QColor(0x14, 0x33, 0x54), QColor(0x27, 0x52, 0x7c), QColor(0x0a, 0x1d, 0x36), kMist};
  }
  return {};
}

void Plate(QPainter& p, const QRectF& r, double radius, const Look& look) {
  QLinearGradient fill(r.topLeft(), r.bottomLeft());
  fill.setColorAt(0.0, look.top);
  fill.setColorAt(1.0, look.bottom);
  p.setPen(QPen(look.edge, 1));
  p.setBrush(fill);
  p.drawRoundedRect(r, radius, radius);
  // A gloss on the upper half.
  QLinearGradient gloss(r.topLeft(), QPointF(r.left(), r.center().y()));
  gloss.setColorAt(0.0, QColor(255, 255, 255, 60));
  gloss.setColorAt(1.0, QColor(255, 255, 255, 0));
  p.setPen(Qt::NoPen);
  p.setBrush(gloss);
  p.drawRoundedRect(r.adjusted(1.5, 1.5, -1.5, -r.height() / 2), radius - 1, radius - 1);
}

// Where a pressed button's face sits: one pixel lower and to the right.
QPointF Shift(ButtonState state) { return state == ButtonState::Down ? QPointF(1, 1) : QPointF(0, 0); }

void Glyph(QPainter& p, ButtonGlyph glyph, const QPointF& c, double s, const QColor& colour) {
  p.setBrush(Qt::NoBrush);
  QPen pen(colour, std::max(1.6, s / 5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  p.setPen(pen);
  switch (glyph) {
    case ButtonGlyph::None: break;
    case ButtonGlyph::Minimize: p.drawLine(c + QPointF(-s / 2, s / 3), c + QPointF(s / 2, s / 3)); break;
    case ButtonGlyph::Close:
      p.drawLine(c + QPointF(-s / 2, -s / 2), c + QPointF(s / 2, s / 2));
      p.drawLine(c + QPointF(-s / 2, s / 2), c + QPointF(s / 2, -s / 2));
      break;
    case ButtonGlyph::Plus:
      p.drawLine(c + QPointF(-s / 2, 0), c + QPointF(s / 2, 0));
      p.drawLine(c + QPointF(0, -s / 2), c + QPointF(0, s / 2));
      break;
    case ButtonGlyph::Minus: p.drawLine(c + QPointF(-s / 2, 0), c + QPointF(s / 2, 0)); break;
    case ButtonGlyph::Bin:
      p.drawLine(c + QPointF(-s / 2, -s / 3), c + QPointF(s / 2, -s / 3));
      p.drawLine(c + QPointF(-s / 6, -s / 2), c + QPointF(s / 6, -s / 2));
      p.drawPolyline(QPolygonF({c + QPointF(-s / 3, -s / 3), c + QPointF(-s / 4, s / 2), c + QPointF(s / 4, s / 2),
                                c + QPointF(s / 3, -s / 3)}));
      break;
    case ButtonGlyph::Convert: {
      p.setPen(Qt::NoPen);
      p.setBrush(colour);
      QPainterPath arrow;
      arrow.moveTo(c + QPointF(-s / 2, -s / 4));
      arrow.lineTo(c + QPointF(0, -s / 4));
      arrow.lineTo(c + QPointF(0, -s / 2));
      arrow.lineTo(c + QPointF(s / 2, 0));
      arrow.lineTo(c + QPointF(0, s / 2));
      arrow.lineTo(c + QPointF(0, s / 4));
      arrow.lineTo(c + QPointF(-s / 2, s / 4));
      arrow.closeSubpath();
      p.drawPath(arrow);
      break;
    }
    case ButtonGlyph::Home: {
      QPainterPath house;
      house.moveTo(c + QPointF(-s / 2, -s / 12));
      house.lineTo(c + QPointF(0, -s / 2));
      house.lineTo(c + QPointF(s / 2, -s / 12));
      p.drawPath(house);
      p.drawPolyline(QPolygonF({c + QPointF(-s / 3, -s / 4), c + QPointF(-s / 3, s / 2), c + QPointF(s / 3, s / 2),
                                c + QPointF(s / 3, -s / 4)}));
      p.drawRect(QRectF(c + QPointF(-s / 10, s / 8), QSizeF(s / 5, s * 3 / 8)));
      break;
    }
    case ButtonGlyph::Mail: {
      const QRectF r(c - QPointF(s / 2, s / 3), QSizeF(s, s * 2 / 3));
      p.drawRoundedRect(r, 2, 2);
      p.drawPolyline(
          QPolygonF({r.topLeft() + QPointF(1, 1), QPointF(c.x(), c.y() + s / 10), r.topRight() + QPointF(-1, 1)}));
      break;
    }
    case ButtonGlyph::Help:
    case ButtonGlyph::About: {
      p.drawEllipse(c, s / 2, s / 2);
      QFont font = Font(static_cast<int>(s * 0.72), true);
      font.setFamily(glyph == ButtonGlyph::About ? QStringLiteral("DejaVu Serif") : QStringLiteral("DejaVu Sans"));
      p.setFont(font);
      p.drawText(QRectF(c - QPointF(s / 2, s / 2), QSizeF(s, s)), Qt::AlignCenter,
                 glyph == ButtonGlyph::Help ? QStringLiteral("?") : QStringLiteral("i"));
      break;
    }
    case ButtonGlyph::Play: {
      p.setPen(Qt::NoPen);
      p.setBrush(colour);
      p.drawPolygon(QPolygonF({c + QPointF(-s / 3, -s / 2), c + QPointF(s / 2, 0), c + QPointF(-s / 3, s / 2)}));
      break;
    }
    case ButtonGlyph::Pause:
      p.setPen(Qt::NoPen);
      p.setBrush(colour);
      p.drawRect(QRectF(c + QPointF(-s / 2.4, -s / 2), QSizeF(s / 3, s)));
      p.drawRect(QRectF(c + QPointF(s / 2.4 - s / 3, -s / 2), QSizeF(s / 3, s)));
      break;
    case ButtonGlyph::Stop:
      p.setPen(Qt::NoPen);
      p.setBrush(colour);
      p.drawRect(QRectF(c - QPointF(s / 2.2, s / 2.2), QSizeF(s / 1.1, s / 1.1)));
      break;
  }
}

}  // namespace

void DrawMainBackground(QPainter& target, const QRect& area) {
  const QColor transparent(0xff, 0x00, 0xff);
  target.fillRect(area, transparent);
  DrawHard(target, area, transparent, [](QPainter& p, const QRect& r) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    p.drawPath(BodyShape());
    // Everything else stays inside the shape, at the shape's coverage.
    p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
    DrawBody(p, r);
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    DrawEmblem(p);
    // The outline's own edge: a light rim.
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x6f, 0xa6, 0xcf), 1.5));
    p.drawPath(BodyShape().translated(0, 0));
  });
}

void DrawButton(QPainter& target, const QRect& area, const ButtonArt& art, ButtonState state) {
  const QColor olive(0x80, 0x80, 0x00);
  target.fillRect(area, olive);
  DrawHard(target, area, olive, [&](QPainter& p, const QRect& r) {
    Look look = LookOf(state, art.accent);
    // Closing warns in red under the mouse and while pressed.
    if (art.glyph == ButtonGlyph::Close && state == ButtonState::Hot) {
      look = {QColor(0xf0, 0x5a, 0x4a), QColor(0xb8, 0x26, 0x1a), QColor(0xff, 0xb0, 0xa8), Qt::white};
    } else if (art.glyph == ButtonGlyph::Close && state == ButtonState::Down) {
      look = {QColor(0x8a, 0x1a, 0x10), QColor(0xc4, 0x32, 0x24), QColor(0x5a, 0x10, 0x08), kMist};
    }
    const QRectF face = QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5);
    const bool round = art.shape == ButtonShape::Round;
    Plate(p, face, round ? face.height() / 2 : std::min(6.0, face.height() / 3), look);
    const QPointF shift = Shift(state);
    const double size = std::min(r.width(), r.height()) * (round ? 0.42 : 0.46);
    if (!art.text) {
      Glyph(p, art.glyph, QRectF(r).center() + shift, size, look.text);
      return;
    }
    // A glyph at the left, the caption beside it; or the caption alone.
    const bool small = r.height() < 24;
    p.setFont(Font(small ? 11 : 13, true));
    QRectF textArea = QRectF(r).translated(shift);
    if (art.glyph != ButtonGlyph::None) {
      const double g = std::min(14.0, r.height() * 0.42);
      Glyph(p, art.glyph, QPointF(r.left() + 12 + g / 2, r.center().y()) + shift, g, look.text);
      textArea.setLeft(textArea.left() + 16 + g);
      textArea.setRight(textArea.right() - 8);
    }
    p.setPen(look.text);
    p.drawText(textArea, Qt::AlignCenter, QString::fromUtf8(art.text));
  });
}

}  // namespace sonvarro::artwork
