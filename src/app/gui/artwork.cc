// Drawing the window's images.
#include "app/gui/artwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <array>

namespace edbgui {
namespace {

struct FolderLook {
  QColor colour;
  QChar glyph;  // drawn on the folder; a space for none
};

// By image index: plain, two spares, calendar, contacts, deleted items,
// drafts, inbox, journal, junk, notes, outbox, sent items, tasks, sync
// issues, two spares.
const std::array<FolderLook, kFolderImageCount>& Looks() {
  static const std::array<FolderLook, kFolderImageCount> looks = {{
      {QColor(0xE8, 0xB9, 0x3C), u' '}, {QColor(0x9E, 0x9E, 0x9E), u' '}, {QColor(0x8D, 0x6E, 0x63), u' '},
      {QColor(0x1E, 0x88, 0xE5), u'C'}, {QColor(0x43, 0xA0, 0x47), u'@'}, {QColor(0x75, 0x75, 0x75), u'x'},
      {QColor(0x7E, 0x57, 0xC2), u'D'}, {QColor(0x03, 0x9B, 0xE5), u'I'}, {QColor(0x6D, 0x4C, 0x41), u'J'},
      {QColor(0xE5, 0x39, 0x35), u'!'}, {QColor(0xFD, 0xD8, 0x35), u'N'}, {QColor(0x00, 0x89, 0x7B), u'O'},
      {QColor(0x3F, 0x51, 0xB5), u'S'}, {QColor(0x7C, 0xB3, 0x42), u'T'}, {QColor(0xFF, 0x70, 0x43), u'?'},
      {QColor(0x78, 0x90, 0x9C), u' '}, {QColor(0xB0, 0xBE, 0xC5), u' '},
  }};
  return looks;
}

QPixmap DrawFolder(const FolderLook& look) {
  QPixmap pixmap(16, 16);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(look.colour.darker(160));
  painter.setBrush(look.colour.lighter(115));
  painter.drawRoundedRect(QRectF(1.5, 2.5, 6, 3), 1, 1);  // tab
  painter.setBrush(look.colour);
  painter.drawRoundedRect(QRectF(1.5, 4.5, 13, 9.5), 1.5, 1.5);
  if (look.glyph != u' ') {
    QFont font = painter.font();
    font.setPixelSize(8);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRectF(1.5, 5, 13, 9), Qt::AlignCenter, QString(look.glyph));
  }
  return pixmap;
}

}  // namespace

QIcon FolderIcon(int index) {
  static std::array<QIcon, kFolderImageCount> icons;
  if (index < 0 || index >= kFolderImageCount) index = 0;
  if (icons[index].isNull()) icons[index] = QIcon(DrawFolder(Looks()[index]));
  return icons[index];
}

QPixmap ApplicationPixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.scale(size / 64.0, size / 64.0);
  // The database drum.
  painter.setPen(QPen(QColor(0x1A, 0x3C, 0x6E), 2));
  painter.setBrush(QColor(0x2F, 0x6D, 0xB5));
  painter.drawRect(QRectF(10, 22, 44, 30));
  painter.drawEllipse(QRectF(10, 44, 44, 14));
  painter.setPen(Qt::NoPen);
  painter.drawRect(QRectF(11, 30, 42, 20));
  painter.setPen(QPen(QColor(0x1A, 0x3C, 0x6E), 2));
  painter.setBrush(QColor(0x5C, 0x9B, 0xE0));
  painter.drawEllipse(QRectF(10, 15, 44, 14));
  // The envelope in front.
  painter.setBrush(QColor(0xFF, 0xC1, 0x1A));
  painter.setPen(QPen(QColor(0x8A, 0x5A, 0x00), 2));
  painter.drawRect(QRectF(18, 28, 38, 26));
  QPainterPath flap;
  flap.moveTo(18, 28);
  flap.lineTo(37, 43);
  flap.lineTo(56, 28);
  painter.setBrush(Qt::NoBrush);
  painter.drawPath(flap);
  return pixmap;
}

QIcon ApplicationIcon() {
  QIcon icon;
  for (int size : {16, 32, 48, 64, 128}) icon.addPixmap(ApplicationPixmap(size));
  return icon;
}

QPixmap BannerPixmap(int width, int height, const QString& text) {
  QPixmap pixmap(std::max(width, 1), std::max(height, 1));
  QPainter painter(&pixmap);
  QLinearGradient gradient(0, 0, width, 0);
  gradient.setColorAt(0, QColor(0x1A, 0x3C, 0x6E));
  gradient.setColorAt(1, QColor(0x2F, 0x6D, 0xB5));
  painter.fillRect(pixmap.rect(), gradient);
  painter.drawPixmap(6, (height - std::min(height - 4, 48)) / 2, ApplicationPixmap(std::min(height - 4, 48)));
  QFont font = painter.font();
  font.setPixelSize(std::max(10, height / 3));
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRect(height + 8, 0, width - height - 8, height), Qt::AlignVCenter | Qt::AlignLeft, text);
  return pixmap;
}

}  // namespace edbgui
